// Where the executable's own files are looked for: beside it (build tree), then in
// its data folder (installed tree).
#include "ce/CeInstallFiles.h"

#include <gtest/gtest.h>

TEST(CeInstallFilesTest, BesideTheExecutableThenInItsDataFolder) {
    struct Case {
        std::string exe;
        std::vector<std::string> expected;
    } cases[] = {
        {"/usr/bin/burrowbop",
         {"/usr/bin/burrowbop.mounts", "/usr/bin/../share/burrowbop/burrowbop.mounts"}},
        {"/tmp/x/usr/games/bb",
         {"/tmp/x/usr/games/bb.mounts", "/tmp/x/usr/games/../share/bb/bb.mounts"}},
        {"/burrowbop", {"/burrowbop.mounts", "/../share/burrowbop/burrowbop.mounts"}},
        {"burrowbop", {"burrowbop.mounts", "./../share/burrowbop/burrowbop.mounts"}},
        {"/usr/bin/", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CeInstallFiles::Candidates(c.exe, ".mounts"), c.expected) << c.exe;
}

// The named mutex between real processes: held while any holder lives, free once
// every holder has ended however it ended, and new to exactly one of many
// processes that start together.
#include "DeviceRootFixture.h"

#include "ce/ce.h"

#include <chrono>
#include <csignal>

using namespace std::chrono_literals;

namespace {
class MutexProcessTest : public DeviceRootFixture {
protected:
    // "new" or "exists" as seen by a fresh process taking the name.
    std::string Probe(const std::string& name) {
        auto child = StartPhone({"mutex", name});
        std::string line;
        EXPECT_TRUE(child->ReadLine(line, 10000ms));
        child->CloseStdin();
        EXPECT_EQ(child->Wait(10000ms), 0);
        return line;
    }
};

struct Ending {
    const char* how;
    int signal; // 0: the holder ends normally
};

TEST_F(MutexProcessTest, NameIsHeldWhileTheHolderLivesAndFreedHoweverItEnds) {
    const Ending endings[] = {{"normal exit", 0}, {"SIGTERM", SIGTERM}, {"kill -9", SIGKILL}};
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.how);
        auto holder = StartPhone({"mutex", "Mole"});
        std::string line;
        ASSERT_TRUE(holder->ReadLine(line, 10000ms));
        EXPECT_EQ(line, "new");
        EXPECT_EQ(Probe(ending.signal == SIGKILL ? "MOLE" : "Mole"), "exists"); // case ignored
        if (ending.signal == 0)
            holder->CloseStdin();
        else
            holder->Signal(ending.signal);
        EXPECT_GE(holder->Wait(10000ms), 0);
        EXPECT_EQ(Probe("Mole"), "new");
    }
}

TEST_F(MutexProcessTest, HeldInThisProcessIsSeenByOthersUntilClosed) {
    HANDLE h = CreateMutexW(nullptr, TRUE, u"Mole");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(Probe("Other"), "new");
    EXPECT_EQ(Probe("Mole"), "exists");
    EXPECT_TRUE(ReleaseMutex(h)); // releasing keeps the name taken
    EXPECT_EQ(Probe("Mole"), "exists");
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Probe("Mole"), "new");
}

TEST_F(MutexProcessTest, OfAHundredProcessesStartedTogetherExactlyOneSeesTheNameNew) {
    constexpr int kCount = 100;
    std::vector<std::unique_ptr<TestProcess>> children;
    for (int i = 0; i < kCount; ++i)
        children.push_back(StartPhone({"mutex", "Mole", "--gate"}));
    for (auto& c : children) // release them all at once
        ASSERT_TRUE(c->Write("go\n"));
    int fresh = 0, taken = 0;
    for (auto& c : children) {
        std::string line;
        ASSERT_TRUE(c->ReadLine(line, 60000ms)); // generous: 100 starts on a busy machine
        fresh += line == "new";
        taken += line == "exists";
    }
    EXPECT_EQ(fresh, 1);
    EXPECT_EQ(taken, kCount - 1);
    for (auto& c : children)
        c->CloseStdin();
    for (auto& c : children)
        EXPECT_EQ(c->Wait(60000ms), 0);
    EXPECT_EQ(Probe("Mole"), "new");
}
} // namespace

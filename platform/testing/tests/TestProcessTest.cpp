// The child-process helper: exit codes, signals, time limits, what a started program sees.
#include "testing/TestProcess.h"
#include "testing/TestPipe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>

namespace {

using namespace std::chrono_literals;

// The pipe's read ends once every writer (here the ended child) has gone.
TEST(TestProcess, ForkedChildEndsWithItsResult) {
    for (int code : {0, 3, 255}) {
        TestPipe pipe;
        TestProcess child;
        ASSERT_TRUE(child.Fork([&] {
            pipe.CloseReadEnd();
            return pipe.Write('a') ? code : 1;
        }));
        pipe.CloseWriteEnd();
        char c = 0;
        EXPECT_TRUE(pipe.Read(c));
        EXPECT_FALSE(pipe.Read(c));
        EXPECT_EQ(child.Wait(), code);
        EXPECT_EQ(child.Wait(0ms), code) << "the status is kept once reaped";
    }
}

TEST(TestProcess, SignalsEndTheChildAndShowInTheStatus) {
    struct Case {
        const char* name;
        bool ignoresTerm;
        std::function<int(TestProcess&)> end;
        int status;
    } cases[] = {
        {"terminate", false, [](TestProcess& p) { return p.Terminate(), p.Wait(); }, 128 + 15},
        {"kill", false, [](TestProcess& p) { return p.Kill(), p.Wait(); }, 128 + 9},
        {"stop, terminate ignored", true, [](TestProcess& p) { return p.Stop(200ms); }, 128 + 9},
    };
    for (const auto& c : cases) {
        TestPipe ready;
        TestPipe block; // the parent keeps the write end: the child's read waits for ever
        TestProcess child;
        ASSERT_TRUE(child.Fork([&] {
            if (c.ignoresTerm)
                std::signal(SIGTERM, SIG_IGN);
            block.CloseWriteEnd();
            ready.Write('r');
            char x;
            block.Read(x);
            return 0;
        }));
        ready.CloseWriteEnd();
        char r = 0;
        ASSERT_TRUE(ready.Read(r)) << c.name;
        EXPECT_EQ(child.Wait(50ms), -1) << c.name << ": still running";
        EXPECT_EQ(c.end(child), c.status) << c.name;
    }
}

TEST(TestProcess, SpawnedProgramGetsArgumentsAndEnvironment) {
    setenv("CE_TESTING_KEPT", "kept", 1);
    setenv("CE_TESTING_REPLACED", "old", 1);
    struct Case {
        const char* script;
        int status;
    } cases[] = {
        {"exit 7", 7},
        {"test \"$CE_TESTING_KEPT\" = kept", 0},
        {"test \"$CE_TESTING_REPLACED\" = new", 0},
        {"test \"$CE_TESTING_ADDED\" = added", 0},
        {"test \"$(env | grep -c ^CE_TESTING_REPLACED=)\" = 1", 0},
    };
    for (const auto& c : cases) {
        TestProcess child;
        ASSERT_TRUE(child.Spawn("/bin/sh", {"-c", c.script},
                                {"CE_TESTING_REPLACED=new", "CE_TESTING_ADDED=added"}));
        EXPECT_EQ(child.Wait(), c.status) << c.script;
    }
    unsetenv("CE_TESTING_KEPT");
    unsetenv("CE_TESTING_REPLACED");
    TestProcess missing;
    EXPECT_FALSE(missing.Spawn("/nonexistent/program"));
    EXPECT_EQ(missing.Wait(0ms), -1);
}

TEST(TestProcess, PipedChildIsReadLineByLineAndEndsWithItsInput) {
    TestProcess child;
    ASSERT_TRUE(child.SpawnPiped("/bin/sh", {"-c", "echo ready; printf 'a\\nb'; cat"}));
    std::string line;
    EXPECT_TRUE(child.WaitFor("read", 10s, &line));
    EXPECT_EQ(line, "ready");
    EXPECT_TRUE(child.ReadLine(line, 10s));
    EXPECT_EQ(line, "a");
    EXPECT_TRUE(child.Write("c\n"));
    EXPECT_TRUE(child.ReadLine(line, 10s));
    EXPECT_EQ(line, "bc"); // a line cut across reads comes whole
    EXPECT_FALSE(child.ReadLine(line, 50ms)) << "nothing more was written";
    child.CloseStdin();
    EXPECT_FALSE(child.Write("x\n"));
    EXPECT_FALSE(child.WaitFor("never", 10s)); // the output ended
    EXPECT_EQ(child.Wait(10s), 0);
}

} // namespace

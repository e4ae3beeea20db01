// A child process for tests: a function run in a forked copy of this process, or an
// executable started with arguments and extra environment. A child still running when
// the object goes is killed and reaped, so a failed test leaves nothing behind.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class TestProcess {
public:
    TestProcess() = default;
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    // Runs body in a forked child, which ends with body's result and never returns
    // into the caller's code. False when no child could be made.
    bool Fork(const std::function<int()>& body);
    // Starts exe with args (without the program name); extraEnv ("NAME=value") is added
    // to this process's environment, replacing variables of the same name.
    bool Spawn(const std::string& exe, const std::vector<std::string>& args = {},
               const std::vector<std::string>& extraEnv = {});

    bool Started() const { return pid_ > 0; }
    // Asks the child to end (it may clean up first) / ends it at once.
    void Terminate();
    void Kill();
    // Exit code (128 + signal number when a signal ended it), or -1 when the child
    // still runs after timeout (or there is none).
    int Wait(std::chrono::milliseconds timeout);
    int Wait(); // without a time limit
    // Terminate, then Kill when it has not ended within grace; the exit status.
    int Stop(std::chrono::milliseconds grace);

private:
    void Signal(int sig);

    int pid_ = -1;
    int status_ = -1; // once reaped
};

// A child process for tests: a function run in a forked copy of this process, or an
// executable started with arguments and extra environment, optionally talked to through
// its stdin and stdout. A child still running when the object goes is killed and
// reaped, so a failed test leaves nothing behind.
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

    // Like Spawn, with the child's stdin and stdout as pipes to this object.
    bool SpawnPiped(const std::string& exe, const std::vector<std::string>& args = {});

    // The next line of the child's stdout without its newline; false at its end or
    // after timeout.
    bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
    // Reads lines until one contains needle; that line is kept in *line.
    bool WaitFor(const std::string& needle, std::chrono::milliseconds timeout,
                 std::string* line = nullptr);
    bool Write(const std::string& text);
    void CloseStdin();

    bool Started() const { return pid_ > 0; }
    int Pid() const { return pid_; }
    // Asks the child to end (it may clean up first) / ends it at once / any signal.
    void Terminate();
    void Kill();
    void Signal(int sig);
    // Exit code (128 + signal number when a signal ended it), or -1 when the child
    // still runs after timeout (or there is none).
    int Wait(std::chrono::milliseconds timeout);
    int Wait(); // without a time limit
    // Terminate, then Kill when it has not ended within grace; the exit status.
    int Stop(std::chrono::milliseconds grace);

private:
    bool Launch(const std::string& exe, const std::vector<std::string>& args,
                const std::vector<std::string>& extraEnv, bool piped);

    int pid_ = -1;
    int status_ = -1; // once reaped
    int in_ = -1;     // the child's stdin and stdout, when piped
    int out_ = -1;
    std::string pending_; // read but not yet returned
};

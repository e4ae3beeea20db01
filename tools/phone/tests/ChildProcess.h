// A child process for tests: started with pipes on stdin and stdout, read line by
// line with a time limit, killed and reaped when the object goes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::vector<std::string>& args);
    // The next line of stdout without its newline; false at end or after timeoutMs.
    bool ReadLine(std::string& line, int timeoutMs);
    // Reads lines until one contains needle; the line is kept in *line.
    bool WaitFor(const std::string& needle, int timeoutMs, std::string* line = nullptr);
    bool Write(const std::string& text);
    void CloseStdin();
    void Kill(int sig);
    // Exit code (128 + signal when killed by one), or -1 when still running after timeoutMs.
    int Wait(int timeoutMs);
    pid_t Pid() const { return pid_; }
    // Runs the phone tool to its end; returns its exit code and its stdout in *out.
    static int RunPhone(const std::vector<std::string>& args, std::string* out = nullptr,
                        int timeoutMs = 10000);

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string pending_;
    int status_ = -1;
};

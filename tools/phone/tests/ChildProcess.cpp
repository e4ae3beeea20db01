#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && status_ < 0) {
        Kill(SIGKILL);
        Wait(10000);
    }
    CloseStdin();
    if (out_ >= 0)
        ::close(out_);
}

bool ChildProcess::Start(const std::vector<std::string>& args) {
    int inPipe[2], outPipe[2];
    if (::pipe2(inPipe, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(outPipe, O_CLOEXEC) != 0) {
        ::close(inPipe[0]);
        ::close(inPipe[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    in_ = inPipe[1];
    out_ = outPipe[0];
    if (rc != 0) {
        pid_ = -1;
        return false;
    }
    return true;
}

bool ChildProcess::ReadLine(std::string& line, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t nl = pending_.find('\n');
        if (nl != std::string::npos) {
            line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return true;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0 || out_ < 0)
            return false;
        pollfd pfd{out_, POLLIN, 0};
        int rc = ::poll(&pfd, 1, static_cast<int>(left));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            return false;
        char buf[4096];
        ssize_t n = ::read(out_, buf, sizeof buf);
        if (n <= 0)
            return false;
        pending_.append(buf, static_cast<size_t>(n));
    }
}

bool ChildProcess::WaitFor(const std::string& needle, int timeoutMs, std::string* line) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0 || !ReadLine(got, static_cast<int>(left)))
            return false;
        if (got.find(needle) != std::string::npos) {
            if (line != nullptr)
                *line = got;
            return true;
        }
    }
}

bool ChildProcess::Write(const std::string& text) {
    return in_ >= 0 && ::write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

void ChildProcess::CloseStdin() {
    if (in_ >= 0) {
        ::close(in_);
        in_ = -1;
    }
}

void ChildProcess::Kill(int sig) {
    if (pid_ > 0 && status_ < 0)
        ::kill(pid_, sig);
}

int ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    if (status_ >= 0)
        return status_;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int raw = 0;
        pid_t r = ::waitpid(pid_, &raw, WNOHANG);
        if (r == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int ChildProcess::RunPhone(const std::vector<std::string>& args, std::string* out, int timeoutMs) {
    ChildProcess child;
    std::vector<std::string> all{PHONE_EXE};
    all.insert(all.end(), args.begin(), args.end());
    if (!child.Start(all))
        return -1;
    child.CloseStdin();
    std::string line, text;
    while (child.ReadLine(line, timeoutMs))
        text += line + "\n";
    if (out != nullptr)
        *out = text;
    return child.Wait(timeoutMs);
}

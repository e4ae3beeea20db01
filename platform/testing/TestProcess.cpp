#include "testing/TestProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

int StatusOf(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

} // namespace

TestProcess::~TestProcess() {
    Kill();
    Wait();
    CloseStdin();
    if (out_ >= 0)
        close(out_);
}

bool TestProcess::Fork(const std::function<int()>& body) {
    if (Started())
        return false;
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // No exit handlers or test framework teardown: those belong to the parent.
        _exit(body());
    }
    pid_ = pid;
    status_ = -1;
    return true;
}

bool TestProcess::Spawn(const std::string& exe, const std::vector<std::string>& args,
                        const std::vector<std::string>& extraEnv) {
    return Launch(exe, args, extraEnv, false);
}

bool TestProcess::SpawnPiped(const std::string& exe, const std::vector<std::string>& args) {
    return Launch(exe, args, {}, true);
}

bool TestProcess::Launch(const std::string& exe, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv, bool piped) {
    if (Started())
        return false;
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            replaced = replaced || NameOf(extra) == NameOf(*e);
        if (!replaced)
            env.emplace_back(*e);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> all{exe};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int inPipe[2] = {-1, -1};
    int outPipe[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (piped) {
        if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0) {
            for (int fd : {inPipe[0], inPipe[1]})
                if (fd >= 0)
                    close(fd);
            posix_spawn_file_actions_destroy(&actions);
            return false;
        }
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    }
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (piped) {
        close(inPipe[0]);
        close(outPipe[1]);
        if (rc != 0) {
            close(inPipe[1]);
            close(outPipe[0]);
        }
    }
    if (rc != 0)
        return false;
    if (piped) {
        in_ = inPipe[1];
        out_ = outPipe[0];
        pending_.clear();
    }
    pid_ = pid;
    status_ = -1;
    return true;
}

bool TestProcess::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const size_t nl = pending_.find('\n');
        if (nl != std::string::npos) {
            line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || out_ < 0)
            return false;
        pollfd pfd{out_, POLLIN, 0};
        const int rc = poll(&pfd, 1, static_cast<int>(left));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            return false;
        char buf[4096];
        const ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0)
            return false;
        pending_.append(buf, static_cast<size_t>(n));
    }
}

bool TestProcess::WaitFor(const std::string& needle, std::chrono::milliseconds timeout,
                          std::string* line) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string got;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !ReadLine(got, left))
            return false;
        if (got.find(needle) != std::string::npos) {
            if (line != nullptr)
                *line = got;
            return true;
        }
    }
}

bool TestProcess::Write(const std::string& text) {
    return in_ >= 0 && write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

void TestProcess::CloseStdin() {
    if (in_ >= 0) {
        close(in_);
        in_ = -1;
    }
}

void TestProcess::Signal(int sig) {
    if (Started() && status_ < 0)
        kill(pid_, sig);
}

void TestProcess::Terminate() {
    Signal(SIGTERM);
}

void TestProcess::Kill() {
    Signal(SIGKILL);
}

int TestProcess::Wait(std::chrono::milliseconds timeout) {
    if (!Started())
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (status_ < 0) {
        int raw = 0;
        const pid_t r = waitpid(pid_, &raw, WNOHANG);
        if (r == pid_) {
            status_ = StatusOf(raw);
        } else if (r < 0 || std::chrono::steady_clock::now() >= deadline) {
            return -1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return status_;
}

int TestProcess::Wait() {
    if (!Started())
        return -1;
    while (status_ < 0) {
        int raw = 0;
        const pid_t r = waitpid(pid_, &raw, 0);
        if (r == pid_)
            status_ = StatusOf(raw);
        else if (r < 0 && errno != EINTR)
            return -1;
    }
    return status_;
}

int TestProcess::Stop(std::chrono::milliseconds grace) {
    Terminate();
    if (Wait(grace) < 0)
        Kill();
    return Wait();
}

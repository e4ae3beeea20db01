#include "testing/TestProcess.h"

#include <cerrno>
#include <csignal>
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
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return false;
    pid_ = pid;
    status_ = -1;
    return true;
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

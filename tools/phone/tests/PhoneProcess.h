// Starts the phone tool from tests and benchmarks, talked to through its stdin and
// stdout.
#pragma once

#include "ce/CeIpcChannel.h"
#include "testing/TestProcess.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class PhoneProcess {
public:
    // Starts `phone args...`; null when it could not be started.
    static std::unique_ptr<TestProcess> Start(const std::vector<std::string>& args) {
        auto child = std::make_unique<TestProcess>();
        return child->SpawnPiped(PHONE_EXE, args) ? std::move(child) : nullptr;
    }
    // Runs the phone tool to its end; returns its exit code (-1 when it did not end in
    // time) and its stdout in *out.
    static int Run(const std::vector<std::string>& args, std::string* out = nullptr,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
        TestProcess child;
        if (!child.SpawnPiped(PHONE_EXE, args))
            return -1;
        child.CloseStdin();
        std::string line, text;
        while (child.ReadLine(line, timeout))
            text += line + "\n";
        if (out != nullptr)
            *out = text;
        return child.Wait(timeout);
    }
    // The socket of the process pid on the device root, from its record; "" if none.
    static std::string SocketOf(const std::string& root, int pid) {
        for (const auto& e : std::filesystem::directory_iterator(root + "/.ce/procs")) {
            std::string name = e.path().filename().string();
            unsigned long long token = 0;
            int owner = 0;
            if (e.path().extension() == ".rec" &&
                sscanf(name.c_str(), "%d-%llx", &owner, &token) == 2 && owner == pid)
                return CeIpcChannel::SocketName(pid, token);
        }
        return "";
    }
};

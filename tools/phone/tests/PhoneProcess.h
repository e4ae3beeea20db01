// Starts the phone tool from tests and benchmarks, talked to through its stdin and
// stdout.
#pragma once

#include "testing/TestProcess.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class PhoneProcess {
public:
    // Starts `phone args...`; null when it could not be started.
    static std::unique_ptr<TestProcess> Start(const std::vector<std::string>& args);
    // Runs the phone tool to its end; returns its exit code (-1 when it did not end in
    // time) and its stdout in *out.
    static int Run(const std::vector<std::string>& args, std::string* out = nullptr,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));
};

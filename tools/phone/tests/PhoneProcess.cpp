#include "PhoneProcess.h"

std::unique_ptr<TestProcess> PhoneProcess::Start(const std::vector<std::string>& args) {
    auto child = std::make_unique<TestProcess>();
    if (!child->SpawnPiped(PHONE_EXE, args))
        return nullptr;
    return child;
}

int PhoneProcess::Run(const std::vector<std::string>& args, std::string* out,
                      std::chrono::milliseconds timeout) {
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

// The shell routines against the phone tool's shell window, USB function driver and
// lock flag, each played by a real process on the test's own device root.
#include "DeviceRootFixture.h"

#include "shell/Shell.h"

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {
using Clock = std::chrono::steady_clock;

using ShellTest = DeviceRootFixture;

// Served from inside a modal loop too (the shell's own loop answers the phone tests).
TEST_F(ShellTest, ShellReceivesTheFullScreenAndTheExitCommands) {
    auto shell = StartPhone({"shell", "--modal"}, "shell: modal");
    for (auto [wParam, lParam] : {std::pair{2, 1}, std::pair{1, 0}}) {
        std::string line;
        EXPECT_NE(NotifyShellMainWnd(wParam, lParam), 0);
        ASSERT_TRUE(shell->WaitFor("command", 10000ms, &line));
        EXPECT_EQ(line, "shell: command wParam=" + std::to_string(wParam) +
                            " lParam=" + std::to_string(lParam));
    }
}

// Later sends to it queue behind the first and give up quickly; once killed, it is not
// found any more: nothing waits on a dead process.
TEST_F(ShellTest, HungShellMakesTheSendGiveUpAfterTwoSeconds) {
    auto shell = StartPhone({"shell", "--hang"}, "shell: ready");
    const auto took = [] {
        const auto start = Clock::now();
        EXPECT_EQ(NotifyShellMainWnd(2, 1), 0);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    };
    const auto first = took();
    EXPECT_GE(first, 1900ms);
    EXPECT_LE(first, 3000ms);
    EXPECT_TRUE(shell->WaitFor("(not answering)", 10000ms));
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(took(), 1000ms);
    shell->Kill();
    shell->Wait(10000ms);
    EXPECT_LT(took(), 1000ms);
}

// Without the phone around every routine gives its failure result, and looking for it
// leaves no trace in the device root. Connecting fails without a driver, or with one that
// has no number registered yet. The driver's device is a handle that the caller closes.
TEST_F(ShellTest, UsbMessageIsRegisteredWithTheDriverWhichThenPostsIt) {
    EXPECT_EQ(OpenUsbFunctionDevice(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(NotifyShellMainWnd(2, 1), 0);
    EXPECT_FALSE(IsPhoneLocked());
    EXPECT_TRUE(std::filesystem::is_empty(root_));
    EXPECT_EQ(RegisterUsbNotifyMessage(), 0xFFFFFFFFu);
    EXPECT_EQ(PhoneProcess::Run({"usb", "connect"}), 1);
    auto driver = StartPhone({"usb-driver"}, "usb-driver: ready");
    EXPECT_EQ(PhoneProcess::Run({"usb", "connect"}), 1);
    HANDLE h = OpenUsbFunctionDevice();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    auto shell = StartPhone({"shell"}, "shell: ready");
    DWORD number = RegisterUsbNotifyMessage();
    EXPECT_GE(number, 0xC000u);
    EXPECT_LE(number, 0xFFFFu);
    EXPECT_EQ(number, RegisterWindowMessageW(ShellProtocol::kUsbNotifyMessageName));
    char expected[64];
    std::string line;
    const struct {
        std::vector<std::string> args;
        unsigned wParam;
    } cases[] = {{{"usb", "connect"}, 0}, {{"usb", "notify", "7"}, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(PhoneProcess::Run(c.args), 0);
        snprintf(expected, sizeof expected, "shell: message 0x%X wParam=%u lParam=0", number,
                 c.wParam);
        ASSERT_TRUE(shell->WaitFor("message", 10000ms, &line));
        EXPECT_EQ(line, expected);
    }
    driver->Kill();
    driver->Wait(10000ms);
    EXPECT_EQ(OpenUsbFunctionDevice(), INVALID_HANDLE_VALUE);
}

// As the phone writes it, and of any other size or type as stored.
TEST_F(ShellTest, LockFlagReadsAsWrittenByThePhone) {
    using P = std::pair<const char*, bool>;
    for (auto [state, locked] :
         {P{"on", true}, P{"off", false}, P{"on", true}, P{"clear", false}}) {
        SCOPED_TRACE(state);
        ASSERT_EQ(PhoneProcess::Run({"lock", state}), 0);
        EXPECT_EQ(IsPhoneLocked(), locked);
    }
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        bool locked;
    } cases[] = {
        {"8 bytes, nonzero", REG_BINARY, {1, 0, 0, 0, 1, 0, 0, 0}, false}, // does not fit
        {"2 bytes, nonzero", REG_BINARY, {1, 0}, true},
        {"0 bytes", REG_BINARY, {}, false},
        {"string type, 4 bytes", REG_SZ, {u'1' & 0xFF, 0, 0, 0}, true},
        {"high byte only", REG_DWORD, {0, 0, 0, 1}, true},
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ShellProtocol::kLockKey, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(RegSetValueExW(key, ShellProtocol::kLockValue, 0, c.type, c.data.data(),
                                 static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(IsPhoneLocked(), c.locked);
    }
    RegCloseKey(key);
}
} // namespace

#include "DeviceRootFixture.h"

#include "ce/CePath.h"
#include "ce/CeRemoteWindowLink.h"

#include <cstdlib>
#include <filesystem>

void DeviceRootFixture::SetUp() {
    const char* old = std::getenv("CE_DEVICE_ROOT");
    hadSaved_ = old != nullptr;
    saved_ = old != nullptr ? old : "";
    std::string tmpl = (std::filesystem::temp_directory_path() / "phone-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    ::setenv("CE_DEVICE_ROOT", root_.c_str(), 1);
    CePath::ResetForTests();
    CeRemoteWindowLink::Install(); // this process reaches the windows of the ones it starts
}

void DeviceRootFixture::TearDown() {
    if (hadSaved_)
        ::setenv("CE_DEVICE_ROOT", saved_.c_str(), 1);
    else
        ::unsetenv("CE_DEVICE_ROOT");
    CePath::ResetForTests();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::unique_ptr<ChildProcess> DeviceRootFixture::StartPhone(const std::vector<std::string>& args,
                                                            const std::string& ready) {
    auto child = std::make_unique<ChildProcess>();
    std::vector<std::string> all{PHONE_EXE};
    all.insert(all.end(), args.begin(), args.end());
    EXPECT_TRUE(child->Start(all));
    if (!ready.empty()) {
        EXPECT_TRUE(child->WaitFor(ready, 10000)) << "phone " << args[0] << " did not start";
    }
    return child;
}

// The sample window in a desktop window. With MZFC_SAMPLE_PNG=<file> it writes the
// screen to that PNG once the first frame is shown and quits.
#include "MzSampleWnd.h"
#include "mzfc/MzTest.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void DumpAndQuit(HWND, UINT, UINT_PTR id, DWORD);

class CSampleApp : public CMzApp {
public:
    BOOL Init() override {
        if (!std::getenv("CE_DEVICE_ROOT")) {
            static char root[] = "/tmp/mzfc-sample-XXXXXX";
            if (!mkdtemp(root))
                return FALSE;
            setenv("CE_DEVICE_ROOT", root, 1);
        }
        if (!MzSampleWnd::WriteAssets())
            std::fprintf(stderr, "mzfc_sample: cannot write the sample pictures\n");
        RECT area = MzGetWorkArea();
        window_.Create(area.left, area.top, area.right - area.left, area.bottom - area.top);
        window_.Show();
        if (std::getenv("MZFC_SAMPLE_PNG"))
            SetTimer(nullptr, 0, 300, DumpAndQuit);
        return TRUE;
    }

private:
    MzSampleWnd window_;
};

CSampleApp g_app;

void DumpAndQuit(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const char* path = std::getenv("MZFC_SAMPLE_PNG");
    int code = 0;
    if (path && !MzTest::SaveScreenPng(path)) {
        std::fprintf(stderr, "mzfc_sample: cannot write %s\n", path);
        code = 1;
    }
    PostQuitMessage(code);
}

} // namespace

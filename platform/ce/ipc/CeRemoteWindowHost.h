// This process's top-level windows as the other processes of the device see them:
// published in its process record and reached through its request listener. Calls
// from outside are carried out on the UI thread through the Ui the process sets.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <functional>
#include <string>

class CeRemoteWindowHost {
public:
    enum Op : uint32_t {
        kShow = 1,
        kIsVisible,
        kSetForeground,
        kSend,
        kPost,
        kBroadcast,
        kGetRect
    };

    // The UI side. Run is called from request threads and must be thread safe: it
    // queues the work for the UI thread (also reached inside modal loops) and wakes
    // it. The other calls are made on the UI thread, on published windows only.
    class Ui {
    public:
        virtual ~Ui() = default;
        virtual void Run(std::function<void()> work) = 0;
        virtual BOOL Show(HWND hwnd, int cmd) = 0;
        virtual BOOL IsVisible(HWND hwnd) = 0;
        virtual BOOL SetForeground(HWND hwnd) = 0;
        virtual LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
        virtual BOOL Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
        virtual BOOL GetRect(HWND hwnd, RECT* rect) = 0;
    };

    static void SetUi(Ui* ui); // null: calls from outside fail
    static bool Publish(HWND hwnd, const std::u16string& className, const std::u16string& title);
    static bool Withdraw(HWND hwnd);
};

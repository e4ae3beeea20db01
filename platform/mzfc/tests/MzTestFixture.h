// Common set-up of the framework tests: test mode, a fresh device root of its own,
// an empty trace.
#pragma once

#include "mzfc/MzTest.h"
#include "testing/TestDeviceRoot.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class MzFixture : public ::testing::Test {
protected:
    void SetUp() override {
        MzTest::Enable();
        ASSERT_FALSE(root_.empty());
        MzTest::ClearTrace();
    }
    static std::vector<std::string> TraceOf(const std::string& prefix) {
        std::vector<std::string> out;
        for (const std::string& line : MzTest::Trace())
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
    // A PNG of one colour at <device root>/<name> (a file name, no folders).
    void WriteSolidPng(const std::string& name, int w, int h, uint32_t argb) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(s, nullptr);
        SDL_FillRect(s, nullptr, argb);
        EXPECT_EQ(IMG_SavePNG(s, (root_ + "/" + name).c_str()), 0);
        SDL_FreeSurface(s);
    }
    TestDeviceRoot device_;
    const std::string& root_ = device_.Path();
};

// Also takes a CMzStringW.
inline std::u16string Str(const WCHAR* text) {
    return text;
}

using Commands = std::vector<std::pair<int, int>>; // (id, lParam) of each command

// Sets a control's rectangle (and id, unless 0) and lists it.
inline void Put(CMzWnd& wnd, UiWin& c, int x, int y, int w, int h, int id = 0) {
    if (id)
        c.SetID(id);
    c.SetPos(x, y, w, h);
    wnd.AddUiWin(&c);
}

enum Shown { kShown };

// A test window that records what reaches it; made with kShown, it is full-screen and shown.
class RecordingWnd : public CMzWndEx {
public:
    RecordingWnd() = default;
    explicit RecordingWnd(Shown) { EXPECT_TRUE(Create(0, 0, 720, 480) && (Show(), true)); }
    const WCHAR* GetWndClassName() override { return u"RecordingWnd"; }
    LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        raw.push_back(message);
        return CMzWndEx::MzDefWndProc(message, wParam, lParam);
    }
    void OnTimer(UINT_PTR id) override {
        timers.push_back(static_cast<int>(id));
        if (onTimer)
            onTimer(id);
    }
    void OnUiCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back({static_cast<int>(wParam & 0xFFFF), static_cast<int>(lParam)});
    }

    std::vector<UINT> raw;
    std::vector<int> timers;
    Commands commands;
    std::function<void(UINT_PTR)> onTimer;
};

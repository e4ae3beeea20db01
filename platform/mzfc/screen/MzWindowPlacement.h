// Where the desktop window stood and how large it was, as kept between runs: the
// window's size and place while neither full screen nor maximised, and whether it was
// full screen. Read from and written to a small text file (MzWindowFile).
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

#include <optional>
#include <string>
#include <vector>

struct MzWindowPlacement {
    static constexpr int kMinSide = 100;
    static constexpr int kMaxSide = 16384;
    static constexpr int kMaxOffset = 100000; // further out is no screen of this world
    // How much of the window must lie on one screen for the player to find and grab it.
    static constexpr int kGrip = 48;

    bool hasPosition = false; // some desktops (the web page) place windows themselves
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool fullScreen = false;

    // The text Format writes; nothing for anything else (an unknown or repeated line, a
    // number out of range, no size), so a damaged file changes nothing.
    static std::optional<MzWindowPlacement> Parse(const std::string& text);
    std::string Format() const;
    // Whether the saved place still shows enough of the window on one of the screens.
    bool IsOnScreen(const std::vector<RECT>& screens) const;

    bool operator==(const MzWindowPlacement&) const = default;
};

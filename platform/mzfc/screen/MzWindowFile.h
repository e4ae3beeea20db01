// The file that keeps the desktop window's place between runs:
// $XDG_CONFIG_HOME/<product>/window, else ~/.config/<product>/window. Never under the
// device root, so the phone's files stay as the phone has them.
//
// This is the one place a build without window memory (no config folder, no window
// position: the web page) switches off: built with MZFC_NO_WINDOW_FILE, Path() is ""
// and nothing is read or written.
#pragma once

#include "windows/MzInside.h"

#include "screen/MzWindowPlacement.h"

#include <optional>
#include <string>

class MzWindowFile {
public:
    static constexpr size_t kMaxBytes = 1024; // a written file is about 70

    // "" when no config folder can be named.
    static std::string Path();
    // Nothing when there is no file or it is damaged, of the wrong kind, a link or too
    // large: the window then opens where it would without one.
    static std::optional<MzWindowPlacement> Load();
    // Writes a new temporary file beside it and renames it over the old one, so a
    // reader sees the old or the new place, never a mix. One line on stderr on failure.
    static bool Save(const MzWindowPlacement& placement);
};

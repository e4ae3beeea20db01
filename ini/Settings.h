// The game's settings file: sound switch, layout version and the record.
#pragma once

#include "ce/ce.h"

inline constexpr const WCHAR* kSettingsPath = u"Disk\\Programs\\Games\\burrowbop\\config.ini";

// Makes sure a current settings file exists and fills GameState.soundOn,
// GameState.recordHolder and GameState.highScore from it.
void LoadSettings();
// Creates the file and writes the four defaults.
void WriteDefaultSettings();

// The game's settings file: sound switch, layout version and the record. The only
// place that spells its sections and keys.
#pragma once

#include "game/MoleFolder.h"
#include "mzfc/mzfc.h"

inline constexpr const WCHAR* kSettingsPath = MOLE_FOLDER u"\\config.ini";

// Makes sure a current settings file exists and fills GameState.soundOn,
// GameState.recordHolder and GameState.highScore from it.
void LoadSettings();
// Creates the file and writes the four defaults.
void WriteDefaultSettings();
// Writes the sound switch; a failed write leaves the file as it was.
void SaveSoundOn(bool on);
// Makes name and score the record in GameState and writes them, Name before Score.
void SaveRecord(const CMzStringW& name, int score);

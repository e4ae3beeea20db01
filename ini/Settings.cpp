#include "ini/Settings.h"

#include "game/GameState.h"
#include "ini/IniFile.h"

namespace {
constexpr int kCurrentVersion = 2;
constexpr const WCHAR* kDefaultSoundOn = u"0";
constexpr const WCHAR* kDefaultVersion = u"2";
constexpr const WCHAR* kDefaultName = u"小儿子";
constexpr const WCHAR* kDefaultScore = u"5";

// A key that cannot be read (missing, or the file cannot be opened) takes its default.
CMzStringW ReadOr(const WCHAR* section, const WCHAR* key, const WCHAR* fallback) {
    WCHAR* text = nullptr;
    const int ok = IniReadString(section, key, &text, kSettingsPath);
    CMzStringW value(ok && text != nullptr ? text : fallback);
    delete[] text;
    return value;
}
} // namespace

void WriteDefaultSettings() {
    IniCreateFile(kSettingsPath);
    IniWriteString(u"Config", u"isSoundOn", kDefaultSoundOn, kSettingsPath);
    IniWriteString(u"Zellik", u"Version", kDefaultVersion, kSettingsPath);
    IniWriteString(u"Save", u"Name", kDefaultName, kSettingsPath);
    IniWriteString(u"Save", u"Score", kDefaultScore, kSettingsPath);
}

void LoadSettings() {
    if (!FileExists(kSettingsPath)) {
        WriteDefaultSettings();
    }
    // An outdated layout is rebuilt from scratch; nothing of it is carried over.
    if (String2Int(ReadOr(u"Zellik", u"Version", kDefaultVersion)) < kCurrentVersion) {
        DeleteFileW(kSettingsPath);
        WriteDefaultSettings();
    }
    const CMzStringW soundText = ReadOr(u"Config", u"isSoundOn", kDefaultSoundOn);
    const CMzStringW nameText = ReadOr(u"Save", u"Name", kDefaultName);
    const CMzStringW scoreText = ReadOr(u"Save", u"Score", kDefaultScore);
    GameState.soundOn = String2Int(soundText) != 0;
    GameState.recordHolder = nameText;
    GameState.highScore = String2Int(scoreText);
}

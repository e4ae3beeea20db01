#include "game/Settings.h"

#include "game/GameState.h"
#include "ini/IniFile.h"

namespace {
constexpr const WCHAR* kConfigSection = u"Config";
constexpr const WCHAR* kSoundOnKey = u"isSoundOn";
constexpr const WCHAR* kVersionSection = u"Zellik";
constexpr const WCHAR* kVersionKey = u"Version";
constexpr const WCHAR* kRecordSection = u"Save";
constexpr const WCHAR* kNameKey = u"Name";
constexpr const WCHAR* kScoreKey = u"Score";

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
    IniWriteString(kConfigSection, kSoundOnKey, kDefaultSoundOn, kSettingsPath);
    IniWriteString(kVersionSection, kVersionKey, kDefaultVersion, kSettingsPath);
    IniWriteString(kRecordSection, kNameKey, kDefaultName, kSettingsPath);
    IniWriteString(kRecordSection, kScoreKey, kDefaultScore, kSettingsPath);
}

void LoadSettings() {
    // A file the library cannot read would fail every later save without a word: it
    // is set aside, kept for the player, and the defaults take its place.
    IniSetAsideIfUnreadable(kSettingsPath);
    if (!FileExists(kSettingsPath)) {
        WriteDefaultSettings();
    }
    // An outdated layout is rebuilt from scratch; nothing of it is carried over.
    if (String2Int(ReadOr(kVersionSection, kVersionKey, kDefaultVersion)) < kCurrentVersion) {
        DeleteFileW(kSettingsPath);
        WriteDefaultSettings();
    }
    const CMzStringW soundText = ReadOr(kConfigSection, kSoundOnKey, kDefaultSoundOn);
    const CMzStringW nameText = ReadOr(kRecordSection, kNameKey, kDefaultName);
    const CMzStringW scoreText = ReadOr(kRecordSection, kScoreKey, kDefaultScore);
    GameState.soundOn = String2Int(soundText) != 0;
    GameState.recordHolder = nameText;
    GameState.highScore = String2Int(scoreText);
}

void SaveSoundOn(bool on) {
    IniWriteString(kConfigSection, kSoundOnKey, on ? u"1" : u"0", kSettingsPath);
}

void SaveRecord(const CMzStringW& name, int score) {
    GameState.highScore = score;
    GameState.recordHolder = name;
    // One replace: a save cut short leaves the old pair or the new one, never a mix.
    const CMzStringW scoreText = Int2String(score);
    const LPCWSTR keys[] = {kNameKey, kScoreKey};
    const LPCWSTR values[] = {name, scoreText};
    IniWriteStrings(kRecordSection, keys, values, 2, kSettingsPath);
}

// Byte helpers for INI tests and benchmarks.
#pragma once

#include <string>
#include <string_view>

// FF FE followed by the text in UTF-16LE.
std::string IniBytes(std::u16string_view text);
// The settings file as the game writes it, with the given name and score.
std::u16string SettingsText(std::u16string_view name, std::u16string_view score);
// Shows bytes as readable text for failure messages: ASCII as is, others as \xNN.
std::string Printable(const std::string& bytes);

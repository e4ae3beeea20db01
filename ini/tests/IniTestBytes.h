// Byte builders for the tests and benchmarks of the INI library and of the game's
// settings file: the one place that spells a settings file in tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// FF FE followed by the text in UTF-16LE.
std::string IniBytes(std::u16string_view text);
// The settings file as the game writes it. Without a version the [Zellik] header
// stands alone. SettingsText() is what a new settings file holds.
std::u16string SettingsText(std::u16string_view name = u"小儿子", std::u16string_view score = u"5",
                            std::u16string_view sound = u"0",
                            std::optional<std::u16string_view> version = u"2");
// Shows bytes as readable text for failure messages: ASCII as is, others as \xNN.
std::string Printable(const std::string& bytes);

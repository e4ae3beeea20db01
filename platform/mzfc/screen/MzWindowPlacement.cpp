#include "screen/MzWindowPlacement.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

constexpr const char* kHeader = "# desktop window";

bool ReadNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end && value >= low && value <= high;
}

} // namespace

std::optional<MzWindowPlacement> MzWindowPlacement::Parse(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeader)
        return std::nullopt;
    MzWindowPlacement p;
    int seen = 0; // one bit per key
    const struct {
        const char* key;
        int low, high;
        int MzWindowPlacement::*field;
    } keys[] = {{"x", -kMaxOffset, kMaxOffset, &MzWindowPlacement::x},
                {"y", -kMaxOffset, kMaxOffset, &MzWindowPlacement::y},
                {"width", kMinSide, kMaxSide, &MzWindowPlacement::width},
                {"height", kMinSide, kMaxSide, &MzWindowPlacement::height}};
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, space), value = line.substr(space + 1);
        int bit = 0, number = 0;
        if (key == "fullscreen") {
            if (!ReadNumber(value, 0, 1, number))
                return std::nullopt;
            p.fullScreen = number == 1;
            bit = 1 << 4;
        } else {
            auto it = std::find_if(std::begin(keys), std::end(keys),
                                   [&](const auto& k) { return key == k.key; });
            if (it == std::end(keys) || !ReadNumber(value, it->low, it->high, number))
                return std::nullopt;
            p.*(it->field) = number;
            bit = 1 << (it - std::begin(keys));
        }
        if (seen & bit)
            return std::nullopt;
        seen |= bit;
    }
    const bool x = seen & 1, y = seen & 2, size = (seen & 12) == 12;
    if (!size || x != y)
        return std::nullopt;
    p.hasPosition = x;
    return p;
}

std::string MzWindowPlacement::Format() const {
    std::string text = std::string(kHeader) + "\n";
    if (hasPosition)
        text += "x " + std::to_string(x) + "\ny " + std::to_string(y) + "\n";
    text += "width " + std::to_string(width) + "\nheight " + std::to_string(height) + "\n";
    text += std::string("fullscreen ") + (fullScreen ? "1" : "0") + "\n";
    return text;
}

bool MzWindowPlacement::IsOnScreen(const std::vector<RECT>& screens) const {
    if (!hasPosition)
        return false;
    return std::any_of(screens.begin(), screens.end(), [&](const RECT& s) {
        const long w = std::min<long>(s.right, x + width) - std::max<long>(s.left, x);
        const long h = std::min<long>(s.bottom, y + height) - std::max<long>(s.top, y);
        return w >= kGrip && h >= kGrip;
    });
}

// The framework's own colours, taken from the game's artwork (0xAARRGGBB): warm
// cream cards, a dark brown outline, and the title menu's candy colours.
#pragma once

#include <cstdint>

namespace MzPalette {
constexpr uint32_t kOutline = 0xFF422614;   // every outline of the artwork
constexpr uint32_t kCream = 0xFFFFF5D6;     // cards and window backgrounds
constexpr uint32_t kCreamDeep = 0xFFF8E2B0; // the lower end of a cream gradient
constexpr uint32_t kPaper = 0xFFFFFCF2;     // the edit field's inside
constexpr uint32_t kText = 0xFF4A2C14;      // body text on cream
constexpr uint32_t kGreen = 0xFF62C23F;     // accepting buttons (the start button)
constexpr uint32_t kOrange = 0xFFFFA82E;    // ribbons, focus, other buttons
constexpr uint32_t kRed = 0xFFF2574A;       // cancelling buttons (the exit button)
constexpr uint32_t kGrey = 0xFFB9AE9A;      // disabled buttons
constexpr uint32_t kWood = 0xFF8A5A32;      // the toolbar's plank
constexpr uint32_t kDim = 0x99241405;       // over the screen behind a message box
constexpr uint32_t kShadow = 0x66241405;    // below cards
} // namespace MzPalette

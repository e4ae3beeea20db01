// The screen area windows may cover: the whole 720 x 480 screen unless a running
// shell publishes a smaller one through the provider.
#pragma once

#include "ce/CeTypes.h"

#include <functional>

RECT MzGetWorkArea();
// provider fills the shell's work area and returns true, or returns false when no
// shell publishes one. An empty function removes it.
void MzSetWorkAreaProvider(std::function<bool(RECT*)> provider);

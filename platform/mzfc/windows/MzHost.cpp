#include "windows/MzHost.h"

void MzHost::FramePresented() {}

void MzHost::ProgramEnded(int) {}

void MzHost::TextInput(bool) {}

bool MzHost::OwnsFullScreen() {
    return false;
}

bool MzHost::ScalesTheScreen() {
    return false;
}

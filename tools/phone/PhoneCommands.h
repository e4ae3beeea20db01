// The phone tool's short commands: the shell's lock flag, what runs on the device,
// and taking a named mutex as a starting program would.
#pragma once

#include <string>

class PhoneCommands {
public:
    static int Lock(const std::string& state); // "on", "off" or "clear"
    static int Status();
    // Takes the name, prints "new" or "exists", holds it until stdin ends or a stop
    // signal; with gate, waits for a line on stdin before taking it.
    static int Mutex(const std::string& name, bool gate);
};

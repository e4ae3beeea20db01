// The registry's files: <device root>/.ce/registry/<root>/<key>/<subkey>/... with one
// folder per key and the key's values in its ".values" file. Key names match without
// regard to case. Value writes go through a lock and an atomic file replace.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <map>
#include <string>
#include <vector>

class CeFileLock;

class CeRegistryStore {
public:
    struct Value {
        std::u16string name; // as first written
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    // Folder of a predefined root key; "" for anything else.
    static std::string RootFolder(HKEY root);
    // Appends the components of a subkey path ("A\B\C") to a key folder; false on
    // a bad name (too long, control characters).
    static bool Join(const std::string& keyFolder, const std::u16string& subKey, std::string& out);
    static bool KeyExists(const std::string& keyFolder);
    static bool CreateKey(const std::string& keyFolder, bool& created);
    static bool ReadValue(const std::string& keyFolder, const std::u16string& name, Value& v);
    static bool ReadValues(const std::string& keyFolder, std::vector<Value>& values);
    static bool WriteValue(const std::string& keyFolder, const Value& v);
    static bool DeleteValue(const std::string& keyFolder, const std::u16string& name, bool& found);

private:
    // The writers' lock on a key that exists; false when it is gone or cannot be locked.
    static bool LockKey(const std::string& keyFolder, CeFileLock& guard);
    static std::string Encode(const std::vector<Value>& values);
    static bool Decode(const std::string& text, std::vector<Value>& values);
};

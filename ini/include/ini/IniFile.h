// The INI library: UTF-16LE files with the byte-order mark FF FE, "[section]" headers
// and "  key=value" lines separated by CR LF. Every operation takes the file's CE path
// last, opens, uses and closes the file within the call, and returns 1 for success and
// 0 for failure unless said otherwise.
//
// A change never half-writes a file: the new bytes go to a temporary file beside it,
// which is flushed and renamed over the old one. A key is found only as a whole key at
// the start of its line (after any blanks). Empty keys and sections are refused.
//
// A file over kIniMaxFileBytes is no INI file for the library: it is neither read nor
// written, and no change makes a file grow past it.
#pragma once

#include "ce/CeTypes.h"

// A settings file holds a few short lines (with the longest name the game takes, a
// few KiB); the limit leaves room for far more and keeps every read small.
inline constexpr DWORD kIniMaxFileBytes = 64 * 1024;

// True when a find-first on the path finds a file or folder.
bool FileExists(LPCWSTR path);
// Makes sure the path ("...\name.ini", folder existing) holds an INI file: keeps one
// that has the mark (clearing its read-only bit), else makes an empty one (FF FE).
// Fails, changing nothing, while another process holds the file open for writing.
int IniCreateFile(LPCWSTR path);
// Sets aside what lies at the path when the library cannot read it as an INI file (a
// link, a folder, anything but a regular file, a file without the mark or over the
// limit): renamed, never followed, to a free name beside it ("config.ini.bad",
// "config.ini.bad2", ...), with one line on stderr naming both. Returns 1 when no such
// thing is left there (nothing was there, an INI file is, or it was set aside), 0 when
// it could not be moved or looked at; an INI file and one in another writer's hands
// are left alone.
int IniSetAsideIfUnreadable(LPCWSTR path);

// On success *out receives a new string (release with delete[]).
int IniReadString(LPCWSTR section, LPCWSTR key, LPWSTR* out, LPCWSTR path);
// key and value: set; value null: remove the key; key null: remove the section.
int IniWriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path);
// Sets count keys of one section, in order, in one replace of the file: readers see
// all of them set or none. keys and values hold count strings each.
int IniWriteStrings(LPCWSTR section, const LPCWSTR* keys, const LPCWSTR* values, UINT count,
                    LPCWSTR path);
int IniReadInt(LPCWSTR section, LPCWSTR key, int* out, LPCWSTR path);
int IniWriteInt(LPCWSTR section, LPCWSTR key, int value, LPCWSTR path);

int IniSectionExists(LPCWSTR section, LPCWSTR path);
UINT IniGetSectionCount(LPCWSTR path);
// Writes header `index`'s name into dest: at most destChars - 1 characters and a
// terminator. Leaves dest as it was when there is no such header.
void IniGetSectionName(LPWSTR dest, UINT destChars, UINT index, LPCWSTR path);

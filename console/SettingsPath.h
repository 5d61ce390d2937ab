#pragma once
// Where the settings file lives: next to the executable, named after it with ".INI"; where that
// folder cannot be written (an installed program), under the user's configuration folder.
#include <string>

// The file for this program.
std::string SettingsFilePath();
// Readies the file before it is read: one saved as UTF-8 (as editors on Linux may save it) is
// rewritten in GBK with CR LF line ends, which the program reads and writes. Text that is valid
// UTF-8 and holds bytes above 127 is taken as UTF-8; GBK text almost never is. Returns what the
// operator should be told (the conversion, or why the file cannot be read or converted), or
// nothing.
std::string PrepareSettingsFile(const std::string& path);
// The rule itself: `exePath` with its extension replaced by ".INI" when its folder (and the file,
// if it exists) can be written, else the same file name in `configDir`, which is created and,
// on first use, seeded with a copy of the file next to the executable.
std::string SettingsFilePathFor(const std::string& exePath, const std::string& configDir);

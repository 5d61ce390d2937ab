#pragma once
// Where the settings file lives: next to the executable, named after it with ".INI"; where that
// folder cannot be written (an installed program), under the user's configuration folder.
#include <string>

// The file for this program.
std::string SettingsFilePath();
// The rule itself: `exePath` with its extension replaced by ".INI" when its folder (and the file,
// if it exists) can be written, else the same file name in `configDir`, which is created and,
// on first use, seeded with a copy of the file next to the executable.
std::string SettingsFilePathFor(const std::string& exePath, const std::string& configDir);

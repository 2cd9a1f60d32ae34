#pragma once
// The settings file: brenv.ini in the data folder, read at start-up and written at close.
#include <string>

namespace brenvik {

class Session;

// inifile = datafolder/brenv.ini; an empty file is created at once when there is none.
void InitSettingsFile(Session& s, const std::string& datafolder);

// Reads the settings (and the stored parts of the field catalogue) from the file at path.
// A missing file reads as an empty one: every setting takes its default. Returns false when
// the file cannot be read (nothing changes) or when a value that must be an integer is not
// one (the settings read before it keep their new values); both are reported.
bool ReadSettings(Session& s, const std::string& path);

// Writes the settings into the file at path, keeping whatever else the file holds.
// Returns false, after reporting it, when the file cannot be read or written.
bool WriteSettings(Session& s, const std::string& path);

}  // namespace brenvik

#pragma once
// The settings file: brenv.ini in the data folder, read at start-up and written at close.
#include <string>

namespace brenvik {

class Session;
class TIniFile;

// inifile = datafolder/brenv.ini; an empty file is created at once when there is none.
// False, silently, when it could not be: the write at close reports it.
bool InitSettingsFile(Session& s, const std::string& datafolder);

// Reads the settings (and the stored parts of the field catalogue) from the file at path.
// A missing file reads as an empty one: every setting takes its default. Returns false when
// the file cannot be read (nothing changes) or when a value that must be an integer is not
// one (the settings read before it keep their new values); both are reported.
bool ReadSettings(Session& s, const std::string& path);
// As ReadSettings, from a settings file's text already read: false only for a value that
// must be an integer and is not one.
bool ReadSettings(Session& s, const TIniFile& ini);

// The read of inifile at start-up: as ReadSettings, but a damaged file (binary bytes, or cut
// short: see TIniFile::LoadFromFile) is not read. It is renamed to inifile + ".broken" and
// reported in one message; the settings keep their defaults and the close writes a new file.
bool ReadStartupSettings(Session& s);

// Writes the settings into the file at path, keeping whatever else the file holds.
// Returns false, after reporting it, when the file cannot be read or written.
bool WriteSettings(Session& s, const std::string& path);
// Puts the settings into a settings file's text, as WriteSettings does before saving it.
void WriteSettings(const Session& s, TIniFile& ini);

}  // namespace brenvik

#pragma once
// The per-user data folder (holding the settings file), remembered in the user's configuration
// store, and the user folder in the documents folder.
#include <QString>

namespace brenvik {
class Platform;
}

namespace brenvik::ui {

// Where the data folder is remembered: organisation and application of the store, and the value.
inline const char* const kRegOrganisation = "Harbex";
inline const char* const kRegApplication = "BRENV";
inline const char* const kRegKey = "Software\\Harbex\\BRENV";
inline const char* const kRegValue = "brenvfolder";

// Makes sure the folder exists, parents first; whether it exists afterwards.
bool ForceFolder(const QString& path);

QString RegReadString();
void RegWriteString(const QString& text);  // writes only when the stored text differs
// Forgets the remembered folder; tells the user when that succeeded.
void RegDeleteKey(Platform& platform);

// The remembered data folder, or the application-data folder's "Harbex/BRENV" (recorded the
// first time). Empty when it cannot be created: the key is then deleted so the next start
// looks again. programfolder stands in when there is no application-data folder.
QString FindDataFolder(Platform& platform, const QString& programfolder);

// "My HRBX" in the documents folder, created when missing, with a trailing separator.
QString FindUserFolder(Platform& platform);

// The settings file's folder: the data folder, or the home folder when there is none.
QString SettingsFolder(const QString& datafolder);

}  // namespace brenvik::ui

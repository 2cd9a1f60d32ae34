#include "voyage/voyagesettings.h"

#include <algorithm>

#include "model/strutil.h"
#include "settings/inifile.h"

namespace brenvik::ui {
namespace {
constexpr std::string_view kSection = "VOYAGE";
}

VoyageSettings ReadVoyageSettings(const std::string& inifile) {
    VoyageSettings v;
    TIniFile ini;
    if (ini.LoadFromFile(inifile) == TIniFile::LoadResult::Failed) return v;
    v.shown = ini.ReadString(kSection, "Shown", "N") == "Y";
    v.width = std::clamp(ParseInt(Trim(ini.ReadString(kSection, "Width", "0"))).value_or(0), 0, 100000);
    return v;
}

bool WriteVoyageSettings(const std::string& inifile, const VoyageSettings& v) {
    TIniFile ini;
    if (ini.LoadFromFile(inifile) == TIniFile::LoadResult::Failed) return false;
    ini.WriteString(kSection, "Shown", v.shown ? "Y" : "N");
    ini.WriteString(kSection, "Width", std::to_string(v.width));
    return ini.SaveToFile(inifile);
}

}  // namespace brenvik::ui

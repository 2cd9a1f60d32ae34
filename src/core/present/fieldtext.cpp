#include "present/fieldtext.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "model/strutil.h"
#include "platform.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

bool ValidField(int field) { return field >= 0 && field < kEventFieldCount; }

const Tfielddef& Def(int field) {
    if (!ValidField(field)) throw std::out_of_range("Field number out of range");
    return eventfields[static_cast<std::size_t>(field)];
}

// Offset: the sentence time less the recorder time, in days.
double OffsetDays(const TEvent& e) { return e.dts - e.vdrdts; }

// bwalarm is the stage, ":", and the alarm texts.
std::string_view AlarmStage(const TEvent& e) {
    const std::string_view a = e.bwalarm;
    return a.substr(0, a.find(':'));
}

}  // namespace

std::string SourceCell(const TEvent& e, const TFormat&) { return PadLeft(std::to_string(e.recnumb), 8); }
std::string VDRDateCell(const TEvent& e, const TFormat& f) { return DateText(f, e.vdrdts); }
std::string VDRTimeCell(const TEvent& e, const TFormat& f) { return TimeText(f, e.vdrdts); }
std::string OffsetCell(const TEvent& e, const TFormat& f) { return OffsetText(f, OffsetDays(e)); }
std::string DateCell(const TEvent& e, const TFormat& f) { return DateText(f, e.dts); }
std::string TimeCell(const TEvent& e, const TFormat& f) { return TimeText(f, e.dts); }
std::string LatitudeCell(const TEvent& e, const TFormat& f) { return CoordText(f, false, e.coord.lat); }
std::string LongitudeCell(const TEvent& e, const TFormat& f) { return CoordText(f, true, e.coord.lng); }
std::string DepthCell(const TEvent& e, const TFormat& f) { return VertText(f, e.depth); }
std::string SpeedCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.speed); }
std::string HeadingCell(const TEvent& e, const TFormat& f) { return HeadingText(f, e.heading); }
std::string WindSpdCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.windspeed); }
std::string WaterSpdCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.waterspeed); }
std::string RofTurnCell(const TEvent& e, const TFormat& f) { return RotText(f, e.rot); }
std::string ProprietaryCell(const TEvent& e, const TFormat&) { return e.proprietary; }
std::string LonglWSpdCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.longlspd); }
std::string TransWSpdCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.transspd); }
std::string VMGCell(const TEvent& e, const TFormat& f) { return SpeedText(f, e.vmg); }
std::string AntAltitudeCell(const TEvent& e, const TFormat& f) { return VertText(f, e.antalt); }
std::string HDOPCell(const TEvent& e, const TFormat& f) { return HdopText(f, e.hdop); }
std::string SRudderCell(const TEvent& e, const TFormat& f) { return AngleText(f, e.rudders); }
std::string PRudderCell(const TEvent& e, const TFormat& f) { return AngleText(f, e.rudderp); }

// The alarm texts without the stage.
std::string AlarmsCell(const TEvent& e, const TFormat&) {
    const std::size_t colon = e.bwalarm.find(':');
    return colon == std::string::npos ? e.bwalarm : e.bwalarm.substr(colon + 1);
}

double SourceValue(const TEvent& e) { return e.recnumb; }
double VDRValue(const TEvent& e) { return e.vdrdts; }
double OffsetValue(const TEvent& e) {
    const double d = OffsetDays(e);
    return d - std::nearbyint(d);
}
double DtsValue(const TEvent& e) { return e.dts; }
double LatitudeValue(const TEvent& e) { return e.coord.lat; }
double LongitudeValue(const TEvent& e) { return e.coord.lng; }
double DepthValue(const TEvent& e) { return e.depth; }
double SpeedValue(const TEvent& e) { return e.speed; }
double HeadingValue(const TEvent& e) { return e.heading; }
double WindSpdValue(const TEvent& e) { return e.windspeed; }
double WaterSpdValue(const TEvent& e) { return e.waterspeed; }
double RofTurnValue(const TEvent& e) { return e.rot; }
double ProprietaryValue(const TEvent&) { return 0; }
double LonglWSpdValue(const TEvent& e) { return e.longlspd; }
double TransWSpdValue(const TEvent& e) { return e.transspd; }
double VMGValue(const TEvent& e) { return e.vmg; }
double AntAltitudeValue(const TEvent& e) { return e.antalt; }
double HDOPValue(const TEvent& e) { return e.hdop; }
double SRudderValue(const TEvent& e) { return e.rudders; }
double PRudderValue(const TEvent& e) { return e.rudderp; }

// The alarm stage; an empty alarm text has none.
double AlarmsValue(const TEvent& e) {
    if (e.bwalarm.empty()) return novalue;
    return ToDouble(AlarmStage(e));
}

bool AcceptNone(double) { return false; }
bool AcceptAll(double) { return true; }
bool AcceptData(double v) { return v < 1e24; }
bool AcceptOffset(double v) { return v > -1 && v < 1; }

std::string EmptyRange(const TFormat&, double) { return {}; }
std::string InvalidRange(const TFormat&, double) { return std::string(invalidmark); }
std::string DateRange(const TFormat& f, double v) {
    return IsValid(v) ? DateText(f, v) : std::string(invalidmark);
}
std::string TimeRange(const TFormat& f, double v) {
    return IsValid(v) ? TimeText(f, v) : std::string(invalidmark);
}
std::string LatitudeRange(const TFormat& f, double v) {
    return v >= -90 && v <= 90 ? CoordText(f, false, v) : std::string(invalidmark);
}
std::string LongitudeRange(const TFormat& f, double v) {
    return v >= -180 && v <= 180 ? CoordText(f, true, v) : std::string(invalidmark);
}
std::string AlarmsRange(const TFormat& f, double v) {
    return IsValid(v) ? "STAGE " + FixedText(f, v, 1, 0) : std::string(invalidmark);
}

std::string GridHeadText(const TFieldCatalogue& cat, int field) {
    if (!ValidField(field)) return {};
    const std::string_view own = eventfields[static_cast<std::size_t>(field)].gridhead;
    return own.empty() ? cat.fields[static_cast<std::size_t>(field)].head : std::string(own);
}

std::string CellText(const TEvents& events, int field, std::int32_t ix, const TFormat& f) {
    return Def(field).asstring(events[ix], f);
}

double CellValue(const TEvents& events, int field, std::int32_t ix) { return Def(field).asvalue(events[ix]); }

void GatherRange(TFieldCatalogue& cat, int field, const TEvents& events) {
    if (!ValidField(field)) return;
    const Tfielddef& d = eventfields[static_cast<std::size_t>(field)];
    Trange r{-1e25, 1e25};
    for (const TEvent& e : events) {
        const double v = d.asvalue(e);
        if (!d.accepts(v)) continue;
        if (!(v >= r.min)) r.min = v;
        if (v > r.max) r.max = v;
    }
    cat.fields[static_cast<std::size_t>(field)].range = r;
}

void GatherRanges(Session& s) {
    s.fields.RebuildShown(s.settings.ignorevdr);
    const auto& shown = s.fields.shownfields;
    for (std::size_t c = 1; c < shown.size(); ++c) {
        const int field = shown[c];
        if (ValidField(field) && !s.fields.fields[static_cast<std::size_t>(field)].mmvalid)
            GatherRange(s.fields, field, s.events);
    }
}

std::string RangeText(int field, double v, const TFormat& f) {
    if (!ValidField(field)) return {};
    return eventfields[static_cast<std::size_t>(field)].rangetext(f, v);
}

void FitWidth(TFieldCatalogue& cat, int field, const TEvents& events, const TFormat& f,
              const Platform& platform) {
    if (!ValidField(field)) return;
    const Tfielddef& d = eventfields[static_cast<std::size_t>(field)];
    int widest = std::max(10, platform.TextWidth(GridHeadText(cat, field)));
    for (const TEvent& e : events) widest = std::max(widest, platform.TextWidth(d.asstring(e, f)));
    cat.fields[static_cast<std::size_t>(field)].wdth = widest + 13;
}

void FitWidth(Session& s, int field) { FitWidth(s.fields, field, s.events, s.Format(), s.platform); }

}  // namespace brenvik

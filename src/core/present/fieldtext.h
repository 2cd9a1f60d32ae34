#pragma once
// The text and value of every event field, and what is built on them: ranges, range texts,
// grid headings and column widths.
#include <cstdint>
#include <string>

#include "model/eventobj.h"
#include "present/fieldcat.h"
#include "present/format.h"

namespace brenvik {

class Platform;
class Session;

// The data grid's heading-row text of a field (four fields have their own); empty for a
// field number outside 0..22.
std::string GridHeadText(const TFieldCatalogue& cat, int field);

// Text and value of a field for the event at ix (0-based). std::out_of_range for a field
// or an index outside the lists; ConvertError for an alarm stage that is not a number.
std::string CellText(const TEvents& events, int field, std::int32_t ix, const TFormat& f);
double CellValue(const TEvents& events, int field, std::int32_t ix);

// The field's range (max, min) over all events: the accepted values only; none accepted
// leaves max -1e25 and min 1e25.
void GatherRange(TFieldCatalogue& cat, int field, const TEvents& events);
// Ranges of the shown fields except the first column's, for those not current.
void GatherRanges(Session& s);
// A range value as the min/max strip shows it; empty for a field number outside 0..22.
std::string RangeText(int field, double v, const TFormat& f);

// Column width from the widest of the heading-row text and all cell texts, plus 13.
void FitWidth(TFieldCatalogue& cat, int field, const TEvents& events, const TFormat& f,
              const Platform& platform);
void FitWidth(Session& s, int field);

// The accessors bound in eventfields. Cell texts:
std::string SourceCell(const TEvent& e, const TFormat& f);
std::string VDRDateCell(const TEvent& e, const TFormat& f);
std::string VDRTimeCell(const TEvent& e, const TFormat& f);
std::string OffsetCell(const TEvent& e, const TFormat& f);
std::string DateCell(const TEvent& e, const TFormat& f);
std::string TimeCell(const TEvent& e, const TFormat& f);
std::string LatitudeCell(const TEvent& e, const TFormat& f);
std::string LongitudeCell(const TEvent& e, const TFormat& f);
std::string DepthCell(const TEvent& e, const TFormat& f);
std::string SpeedCell(const TEvent& e, const TFormat& f);
std::string HeadingCell(const TEvent& e, const TFormat& f);
std::string WindSpdCell(const TEvent& e, const TFormat& f);
std::string WaterSpdCell(const TEvent& e, const TFormat& f);
std::string RofTurnCell(const TEvent& e, const TFormat& f);
std::string ProprietaryCell(const TEvent& e, const TFormat& f);
std::string LonglWSpdCell(const TEvent& e, const TFormat& f);
std::string TransWSpdCell(const TEvent& e, const TFormat& f);
std::string VMGCell(const TEvent& e, const TFormat& f);
std::string AntAltitudeCell(const TEvent& e, const TFormat& f);
std::string AlarmsCell(const TEvent& e, const TFormat& f);
std::string HDOPCell(const TEvent& e, const TFormat& f);
std::string SRudderCell(const TEvent& e, const TFormat& f);
std::string PRudderCell(const TEvent& e, const TFormat& f);

// Values:
double SourceValue(const TEvent& e);
double VDRValue(const TEvent& e);
double OffsetValue(const TEvent& e);
double DtsValue(const TEvent& e);
double LatitudeValue(const TEvent& e);
double LongitudeValue(const TEvent& e);
double DepthValue(const TEvent& e);
double SpeedValue(const TEvent& e);
double HeadingValue(const TEvent& e);
double WindSpdValue(const TEvent& e);
double WaterSpdValue(const TEvent& e);
double RofTurnValue(const TEvent& e);
double ProprietaryValue(const TEvent& e);
double LonglWSpdValue(const TEvent& e);
double TransWSpdValue(const TEvent& e);
double VMGValue(const TEvent& e);
double AntAltitudeValue(const TEvent& e);
double AlarmsValue(const TEvent& e);
double HDOPValue(const TEvent& e);
double SRudderValue(const TEvent& e);
double PRudderValue(const TEvent& e);

// Which values a range takes:
bool AcceptNone(double v);
bool AcceptAll(double v);
bool AcceptData(double v);    // below 1e24
bool AcceptOffset(double v);  // strictly between -1 and 1

// Range texts (the measured fields use their value texts directly):
std::string EmptyRange(const TFormat& f, double v);
std::string InvalidRange(const TFormat& f, double v);
std::string DateRange(const TFormat& f, double v);
std::string TimeRange(const TFormat& f, double v);
std::string LatitudeRange(const TFormat& f, double v);
std::string LongitudeRange(const TFormat& f, double v);
std::string AlarmsRange(const TFormat& f, double v);

}  // namespace brenvik

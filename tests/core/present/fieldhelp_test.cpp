// Heading tooltips: name, unit in the current settings, meaning.
#include "present/fieldhelp.h"

#include <gtest/gtest.h>

#include "present/fieldcat.h"

namespace brenvik {
namespace {

TEST(FieldTips, NameUnitInTheSettingsAndMeaning) {
    struct Case { char hunits, vunits, coord, date; bool rotations; int field; const char* tip; };
    const Case cases[] = {
        {'N', 'M', 'D', 'D', false, fSpeed, "Speed (kn): speed over ground, from RMC or VTG"},
        {'M', 'M', 'D', 'D', false, fSpeed, "Speed (m/s): speed over ground, from RMC or VTG"},
        {'K', 'F', 'D', 'D', false, fDepth, "Depth (ft): depth below the transducer, from DPT"},
        {'M', 'T', 'D', 'D', false, fAntAltitude, "Ant.Altitude (fathoms): antenna altitude above mean sea level, from GGA"},
        {'M', 'M', 'D', 'D', false, fOffset, "Offset (s): seconds between the recorder time and the sentence time"},
        {'M', 'M', 'D', 'D', false, fHeading, "Heading (degrees true): true heading, from HDT"},
        {'M', 'M', 'D', 'D', true, fHeading, "Heading (degrees true, turns counted): true heading, from HDT"},
        {'M', 'M', 'M', 'D', false, fLatitude, "Latitude (degrees and minutes): latitude of the event"},
        {'M', 'M', 'D', 'Y', false, fDate, "Date (year/month/day): date of the event (UTC, from the position and time sentences)"},
        {'M', 'M', 'D', 'N', false, fTime, "Time (seconds from the first event): time of the event (UTC, from the position and time sentences)"},
        {'M', 'M', 'D', 'D', false, fAlarms, "Alarms: alarm stage and alarm texts, from ALR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tip);
        TFormat f;
        f.parms = {c.hunits, c.vunits};
        f.coordformat = c.coord;
        f.dateformat = c.date;
        f.rotations = c.rotations;
        EXPECT_EQ(EventFieldTip(c.field, eventfields[static_cast<std::size_t>(c.field)].head, f), c.tip);
    }
    TFormat f;
    f.parms = {'N', 'M'};
    EXPECT_EQ(AisFieldTip(8, f), "SOG (kn): speed over ground");
    EXPECT_EQ(AisFieldTip(9, f), "COG (degrees true): course over ground");
    for (int c = 0; c < 13; ++c) EXPECT_NE(AisFieldTip(c, f).find(": "), std::string::npos) << c;
}

}  // namespace
}  // namespace brenvik

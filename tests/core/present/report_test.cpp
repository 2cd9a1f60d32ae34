#include "present/report.h"

#include <gtest/gtest.h>

#include "model/datetime.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, 0);
}

struct ReportSession {
    test::FakePlatform p;
    Session s{p};

    ReportSession() {
        s.settings.lastfile = "/logs/run1.nmea";
        s.totlines = 120;
        s.unproclines = 20;
        s.corruptcount = 3;
    }
    void AddEvent(TDateTime dts) {
        TEvent e;
        e.dts = dts;
        s.events.Add(std::move(e));
        s.firstdts = s.events.front().dts;
    }
};

TEST(SummaryReport, WithoutEventsFourLines) {
    ReportSession r;
    r.s.aisevents.Add(TaisEvent{});  // AIS reports without vessels give no AIS line
    const std::vector<std::string> expected = {
        "File: /logs/run1.nmea",
        "Total lines = 120, Processed Lines = 100, Corrupt lines = 3,  Number of NMEA Events = 0",
        "Start Date/Time undefined",
        "Total Distance=0",
    };
    EXPECT_EQ(SummaryReport(r.s), expected);
}

TEST(SummaryReport, AisLineIsAlwaysTheFifth) {
    for (bool events : {false, true}) {
        SCOPED_TRACE(events);
        ReportSession r;
        if (events) r.AddEvent(At(2024, 5, 1, 12, 0, 0));
        std::int32_t row = 0;
        ASSERT_NE(r.s.vehicles.MakeVehicle(244123456, row), nullptr);
        ASSERT_NE(r.s.vehicles.MakeVehicle(211000001, row), nullptr);
        for (int i = 0; i < 3; ++i) r.s.aisevents.Add(TaisEvent{});
        r.s.ownmmsi = "244123456";
        const auto lines = SummaryReport(r.s);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[2].rfind("Start Date/Time ", 0), 0u);
        EXPECT_EQ(lines[3].rfind("Total Distance", 0), 0u);
        EXPECT_EQ(lines[4], "AIS Vessel Count = 2,  This vessel's MMSI = 244123456, Number of AIS events=3");
    }
}

TEST(SummaryReport, DurationDistanceAndSpeed) {
    const TDateTime t = At(2024, 5, 1, 12, 0, 0);
    struct Case {
        const char* name;
        std::vector<TDateTime> dts;
        double totaldist;
        char hunits, dateformat, decsep;
        std::string start, distance;
    };
    const Case cases[] = {
        {"3600 s, 10000 m, nautical", {t, t + 1800.0 / 86400, t + 3600.0 / 86400}, 10000, 'N', 'D', '.',
         "Start Date/Time = 01-05-2024 12:00:00  Duration = 0 days + 3600 secs",
         "Total Distance =     5.40nm   Average Speed =   5.40knt"},
        {"single event", {t}, 0, 'M', 'D', '.',
         "Start Date/Time = 01-05-2024 12:00:00  Duration = 0 days + 0 secs", "Total Distance =     0.00m"},
        {"days and seconds in km", {t, t + 2 + 90.0 / 86400}, 123456, 'K', 'Y', '.',
         "Start Date/Time = 2024-05-01 12:00:00  Duration = 2 days + 90 secs",
         "Total Distance =   123.46km   Average Speed =   2.57k/h"},
        {"numeric dates", {t, t + 0.5}, 1000, 'M', 'N', '.',
         "Start Date/Time = 45413.500000      0  Duration = 0 days + 43200 secs",
         "Total Distance =  1000.00m   Average Speed =   0.02m/s"},
        {"times run backward", {t, t - 1 - 60.0 / 86400}, 8640, 'M', 'D', '.',
         "Start Date/Time = 01-05-2024 12:00:00  Duration = -1 days + -60 secs",
         "Total Distance =  8640.00m   Average Speed =  -0.10m/s"},
        {"comma separator", {t, t + 3600.0 / 86400}, 10000, 'N', 'D', ',',
         "Start Date/Time = 01-05-2024 12:00:00  Duration = 0 days + 3600 secs",
         "Total Distance =     5,40nm   Average Speed =   5,40knt"},
        // 3 * 2^-8 days is exactly 1012.5 s: halves go to the even neighbour.
        {"half a second to even", {t, t + 3.0 / 256}, 0, 'M', 'D', '.',
         "Start Date/Time = 01-05-2024 12:00:00  Duration = 0 days + 1012 secs",
         "Total Distance =     0.00m   Average Speed =   0.00m/s"},
        {"end outside the years", {t, 3e6}, 0, 'M', 'D', '.',
         "Start Date/Time = 01-05-2024 12:00:00  Duration =   ***",
         "Total Distance =     0.00m   Average Speed =   0.00m/s"},
        {"start outside the years", {-1e7, t}, 0, 'M', 'D', '.',
         "Start Date/Time =   ***   ***  Duration =   ***",
         "Total Distance =     0.00m   Average Speed =   0.00m/s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportSession r;
        for (TDateTime d : c.dts) r.AddEvent(d);
        r.s.seg.totaldist = c.totaldist;
        r.s.settings.parms.hunits = c.hunits;
        r.s.settings.dateformat = c.dateformat;
        r.p.decsep = c.decsep;
        const auto lines = SummaryReport(r.s);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[1], "Total lines = 120, Processed Lines = 100, Corrupt lines = 3,  Number of NMEA Events = " +
                                std::to_string(c.dts.size()));
        EXPECT_EQ(lines[2], c.start);
        EXPECT_EQ(lines[3], c.distance);
    }
}

}  // namespace
}  // namespace brenvik

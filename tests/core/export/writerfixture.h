#pragma once
// A session with a few hand-made events for the writer tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/export/exportsupport.h"
#include "model/datetime.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik::test {

inline TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, 0);
}

// An event holding a value in every exported field.
inline TEvent FullEvent() {
    TEvent e;
    e.recnumb = 12;
    e.vdrdts = At(2018, 6, 1, 11, 59, 50);
    e.dts = At(2018, 6, 1, 12, 0, 0);
    e.coord = {51.5, -0.1275};
    e.depth = 8.25;
    e.speed = 5;
    e.heading = 725;
    e.windspeed = 7.5;
    e.waterspeed = 2.5;
    e.rot = -3.25;
    e.proprietary = "$PFEC,GPatt,1.0";
    e.longlspd = 1.5;
    e.transspd = -0.5;
    e.vmg = 4;
    e.antalt = 12.5;
    e.bwalarm = "2:$BWALR,a";
    e.hdop = 1.2;
    e.rudders = 5;
    e.rudderp = -5;
    return e;
}

// Every numeric field without data, the texts empty.
inline TEvent EmptyEvent() {
    TEvent e;
    e.recnumb = 1234567;
    e.coord = {novalue, novalue};
    e.dts = novalue;
    e.vdrdts = novalue;
    return e;
}

// A vessel in the registry (kept in MMSI order by the registry itself).
inline TVehicle& AddVessel(Session& s, std::int32_t mmsi, const std::string& id, const std::string& name) {
    std::int32_t row = 0;
    TVehicle* v = s.vehicles.MakeVehicle(mmsi, row);
    EXPECT_NE(v, nullptr);
    s.vehicles.SetId(*v, id);
    v->name = name;
    return *v;
}

inline void AddReport(Session& s, std::int32_t type, std::int32_t mmsi, double lat, double lng, bool valid) {
    TaisEvent r;
    r.msgtype = type;
    r.id = mmsi;
    r.coord = {lat, lng};
    r.valid = valid;
    s.aisevents.Add(std::move(r));
}

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override { s.fields.RebuildShown(s.settings.ignorevdr); }

    std::vector<std::string> Messages() const { return p.Texts(); }
    std::string File(const std::string& name) const { return ReadFile(dir / name); }

    FakePlatform p;
    Session s{p};
    TempDir dir;
};

}  // namespace brenvik::test

#include "ais/aisdecode.h"

#include <optional>

#include "ais/aisbits.h"
#include "model/datetime.h"
#include "model/strutil.h"
#include "model/units.h"
#include "session.h"

namespace brenvik {
namespace {

// ---- Message layouts: {first bit, width}. Bits not listed are skipped. ----

// Position reports. The position is longitude (28) then latitude (27). A field of width 0 is
// not in the message: the report keeps its value at creation. sogunit: knots per step.
struct TPositionLayout {
    TBitField status, rot, sog, position, cog, heading, second;
    double sogunit;
};
// Types 1, 2 and 3: class A position report.
constexpr TPositionLayout positionreport{{38, 4}, {42, 8}, {50, 10}, {61, 55}, {116, 12}, {128, 9}, {137, 6}, 0.1};
// Types 18 and 19: class B position report (19 adds the static data below).
constexpr TPositionLayout classbposition{{0, 0}, {0, 0}, {46, 10}, {57, 55}, {112, 12}, {124, 9}, {133, 6}, 0.1};
// Type 9: SAR aircraft position report; its speed is in whole knots, its altitude not read.
constexpr TPositionLayout sarposition{{0, 0}, {0, 0}, {50, 10}, {61, 55}, {116, 12}, {0, 0}, {128, 6}, 1.0};

// Type 27: long-range position report, in 1/10 minute, whole knots and whole degrees.
struct TLongRangeLayout {
    TBitField status, lng, lat, sog, cog;
};
constexpr TLongRangeLayout longrange{{40, 4}, {44, 18}, {62, 17}, {79, 6}, {85, 9}};

// Types 4 and 11: base station report, UTC and date response.
struct TDateTimeLayout {
    TBitField year, month, day, hour, minute, second, position;
};
constexpr TDateTimeLayout basestation{{38, 14}, {52, 4}, {56, 5}, {61, 5}, {66, 6}, {72, 6}, {79, 55}};

// Distances from the reference point to bow, stern, port and starboard.
struct TDimensionLayout {
    TBitField bow, stern, port, starboard;
};

// Type 5: static and voyage data.
struct TStaticLayout {
    TBitField call, name, shiptype;
    TDimensionLayout dims;
    TBitField etamonth, etaday, etahour, etaminute, draught, dest;
};
constexpr TStaticLayout staticvoyage{{70, 42}, {112, 120}, {232, 8}, {{240, 9}, {249, 9}, {258, 6}, {264, 6}},
                                     {274, 4}, {278, 5}, {283, 5}, {288, 6}, {294, 8}, {302, 120}};

// Type 21: aid to navigation.
struct TAidLayout {
    TBitField aidtype, name, position;
};
constexpr TAidLayout aidtonav{{38, 5}, {43, 120}, {164, 55}};

// Type 24: static data report, part A (name) or part B (type, call sign, dimensions). The
// mother-ship field lies beyond the 168 bits of a standard part B; it reads as zero then.
struct TStaticDataLayout {
    TBitField part, name, shiptype, call;
    TDimensionLayout dims;
    TBitField mothership;
};
constexpr TStaticDataLayout staticdata{{38, 2}, {40, 120}, {40, 8}, {90, 42},
                                       {{132, 9}, {141, 9}, {150, 6}, {156, 6}}, {162, 30}};

// Type 19: class B extended position report, the static data after the position part.
struct TClassBStaticLayout {
    TBitField name, shiptype;
    TDimensionLayout dims;
};
constexpr TClassBStaticLayout classbstatic{{143, 120}, {263, 8}, {{271, 9}, {280, 9}, {289, 6}, {295, 6}}};

// AIS values for "not available": stored as novalue so that every text shows the invalid mark.
constexpr std::uint32_t sognone = 1023;
constexpr std::uint32_t cognone = 3600;
constexpr std::uint32_t headingnone = 511;
constexpr std::int32_t rotnone = -128;
// The same in the long-range report's coarser fields.
constexpr std::uint32_t longrangesognone = 63;
constexpr std::uint32_t longrangecognone = 511;

// A decoder fills the report and the vessel; it returns the fault text, or nullptr.
using TDecoder = const char* (*)(TaisBits&, TaisEvent&, TVehicle&);

void ReadDimensions(TaisBits& b, const TDimensionLayout& l, TVehicle& v) {
    const std::uint32_t length = b.bits(l.bow) + b.bits(l.stern);
    v.length = static_cast<std::uint16_t>(length);
    const std::uint32_t width = b.bits(l.port) + b.bits(l.starboard);
    v.width = static_cast<std::uint16_t>(width);
}

void ReadPositionReport(TaisBits& b, TaisEvent& e, const TPositionLayout& l) {
    if (l.status.width) e.status = static_cast<std::uint8_t>(b.bits(l.status));
    if (l.rot.width) {
        const std::int32_t rot = b.sbits(l.rot);
        e.rot = rot == rotnone ? novalue : rot;
    }
    const std::uint32_t sog = b.bits(l.sog);
    e.sog = sog == sognone ? novalue : ToMps('N', sog * l.sogunit);
    b.seek(l.position.offset);
    b.getposition(e);
    const std::uint32_t cog = b.bits(l.cog);
    e.cog = cog == cognone ? novalue : cog * 0.1;
    if (l.heading.width) {
        const std::uint32_t heading = b.bits(l.heading);
        e.heading = heading == headingnone ? novalue : heading;
    }
    e.utcsecs = static_cast<std::int32_t>(b.bits(l.second));
}

template <const TPositionLayout& layout>
const char* DecodePosition(TaisBits& b, TaisEvent& e, TVehicle&) {
    ReadPositionReport(b, e, layout);
    return nullptr;
}

// Type 19: the class B position, then name, type and dimensions as type 5 fills them.
const char* DecodeClassBExtended(TaisBits& b, TaisEvent& e, TVehicle& v) {
    ReadPositionReport(b, e, classbposition);
    const auto& l = classbstatic;
    v.name = b.text(l.name);
    v.vtype = static_cast<std::uint8_t>(b.bits(l.shiptype));
    ReadDimensions(b, l.dims, v);
    e.messg = v.name;
    return nullptr;
}

const char* DecodeLongRange(TaisBits& b, TaisEvent& e, TVehicle&) {
    const auto& l = longrange;
    e.status = static_cast<std::uint8_t>(b.bits(l.status));
    b.seek(l.lng.offset);
    b.getposition(e, l.lng.width, l.lat.width, 600.0);
    const std::uint32_t sog = b.bits(l.sog);
    e.sog = sog == longrangesognone ? novalue : ToMps('N', sog);
    const std::uint32_t cog = b.bits(l.cog);
    e.cog = cog == longrangecognone ? novalue : cog;
    return nullptr;
}

const char* DecodeDateTime(TaisBits& b, TaisEvent& e, TVehicle&) {
    const auto& l = basestation;
    e.status = 16;
    const int year = static_cast<int>(b.bits(l.year));
    const int month = static_cast<int>(b.bits(l.month));
    const int day = static_cast<int>(b.bits(l.day));
    if (year != 0) {
        const std::optional<TDateTime> date = EncodeDate(year, month, day);
        if (!date) return "Invalid date";
        e.utcdate = static_cast<std::int32_t>(*date);
    }
    const auto hour = static_cast<std::int32_t>(b.bits(l.hour));
    const auto minute = static_cast<std::int32_t>(b.bits(l.minute));
    e.utcsecs = hour * 3600 + minute * 60 + static_cast<std::int32_t>(b.bits(l.second));
    b.seek(l.position.offset);
    b.getposition(e);
    return nullptr;
}

const char* DecodeStatic(TaisBits& b, TaisEvent& e, TVehicle& v) {
    const auto& l = staticvoyage;
    v.call = b.text(l.call);
    v.name = b.text(l.name);
    v.vtype = static_cast<std::uint8_t>(b.bits(l.shiptype));
    e.status = v.vtype;
    ReadDimensions(b, l.dims, v);
    const auto month = b.bits(l.etamonth);
    const auto day = b.bits(l.etaday);
    const auto hour = b.bits(l.etahour);
    const auto minute = b.bits(l.etaminute);
    v.eta = Fmt("%2.2u/%2.2u %2.2u:%2.2u", day, month, hour, minute);
    v.draught = static_cast<float>(b.bits(l.draught) * 0.1);
    v.dest = b.text(l.dest);
    e.messg = v.name + " " + v.eta + " " + v.dest;
    return nullptr;
}

const char* DecodeAidToNav(TaisBits& b, TaisEvent& e, TVehicle&) {
    const auto& l = aidtonav;
    const std::uint32_t aid = b.bits(l.aidtype);
    e.messg = Fmt("Type %u,", aid) + b.text(l.name);
    b.seek(l.position.offset);
    b.getposition(e);
    return nullptr;
}

const char* DecodeStaticData(TaisBits& b, TaisEvent& e, TVehicle& v) {
    const auto& l = staticdata;
    if (b.bits(l.part) == 0) {
        v.name = b.text(l.name);
        e.messg = "A:" + v.name;
        return nullptr;
    }
    v.vtype = static_cast<std::uint8_t>(b.bits(l.shiptype));
    v.call = b.text(l.call);
    ReadDimensions(b, l.dims, v);
    e.messg = Fmt("B:MS=%u", b.bits(l.mothership));
    return nullptr;
}

const char* DecodeUnprocessed(TaisBits&, TaisEvent& e, TVehicle&) {
    e.utcsecs = -1;
    e.utcdate = -1;
    e.coord = {novalue, novalue};
    e.messg = "Unprocessed AIS event";
    return nullptr;
}

struct TDecoderEntry {
    std::uint32_t msgtype;
    TDecoder decode;
};
constexpr TDecoderEntry decoders[] = {
    {1, DecodePosition<positionreport>},
    {2, DecodePosition<positionreport>},
    {3, DecodePosition<positionreport>},
    {4, DecodeDateTime},
    {5, DecodeStatic},
    {9, DecodePosition<sarposition>},
    {11, DecodeDateTime},
    {18, DecodePosition<classbposition>},
    {19, DecodeClassBExtended},
    {21, DecodeAidToNav},
    {24, DecodeStaticData},
    {27, DecodeLongRange},
};

TDecoder DecoderFor(std::uint32_t msgtype) {
    for (const auto& d : decoders)
        if (d.msgtype == msgtype) return d.decode;
    return DecodeUnprocessed;
}

}  // namespace

void DecodeAIS(Session& s, std::string_view payload, std::string_view sentencetype) {
    TaisBits b(payload);
    const std::uint32_t msgtype = b.getbits(6);
    b.getbits(2);  // repeat indicator
    const auto mmsi = static_cast<std::int32_t>(b.getbits(30));
    if (mmsi == 0) return;
    const std::string idtext = MmsiText(mmsi);

    TVhcls& vehicles = s.vehicles;
    TVehicle* v = vehicles.findvehicle(idtext);
    if (!v) {
        if (vehicles.count() >= vessellimit && !s.settings.nolimits) {
            s.limitname = "Vessels";
            s.limithit = vessellimit;
            return;
        }
        vehicles.atrow = -1;
        v = vehicles.MakeVehicle(mmsi, vehicles.atrow);
        if (!v) {
            s.platform.ShowMessage(MsgKind::Error, "Unable to create Vessel Record");
            return;
        }
        v->ctry = vehicles.country(idtext);
        vehicles.SetId(*v, idtext);
    }
    v->me = sentencetype == "VDO";
    if (v->me) s.ownmmsi = idtext;

    if (s.aisevents.count() >= aisreportlimit && !s.settings.nolimits) {
        s.limitname = "AIS Records";
        s.limithit = aisreportlimit;
        return;
    }
    TaisEvent e;
    e.valid = true;
    v->lastrec = s.recnumb;
    e.srcnumb = s.recnumb;
    e.msgtype = static_cast<std::int32_t>(msgtype);
    e.id = mmsi;
    // The recorder time of this line where it has one, else the latest sentence UTC.
    e.rxdts = s.linenote.hasrec ? s.linenote.rec : s.lastfixutc;
    if (const char* fault = DecoderFor(msgtype)(b, e, *v)) {
        s.LineMessage(LineMsg::DecodeAIS, MsgKind::Error,
                      std::string(payload) + "\n" + fault + "\n" + Fmt("%u %d", msgtype, s.recnumb), false);
        return;
    }
    s.aisevents.Add(std::move(e));
}

}  // namespace brenvik

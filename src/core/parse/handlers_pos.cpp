// Position and time sentences, taken from the satellite-navigation talkers (GP, GN, GL, GA, GB,
// BD, GQ, GI, IN) and the instrument systems that pass their fixes on (II integrated
// instrumentation, EC ECDIS). GGA, GLL and RMC carry positions and are the sentences (besides
// alarms) that may cut an event. The time reference of every time field is the current event's dts:
// the time of the last cut.
//
// An empty number field is "no data": its assignment is skipped. Otherwise GGA and RMC swallow
// their own failures; in the others a missing field or a bad number throws ConvertError and
// DispatchNMEA files the sentence as corrupt.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "parse/fieldreaders.h"
#include "parse/handlers.h"
#include "parse/linedispatch.h"
#include "parse/segment.h"
#include "model/units.h"
#include "session.h"

namespace brenvik {
namespace {

// Joins short texts in a stack buffer; only oversized (garbage) fields reach the heap.
class ShortText {
public:
    explicit ShortText(std::initializer_list<std::string_view> parts) {
        std::size_t n = 0;
        for (auto p : parts) n += p.size();
        char* out = buf_;
        if (n > sizeof buf_) {
            big_.resize(n);
            out = big_.data();
        }
        for (auto p : parts) {
            if (!p.empty()) std::memcpy(out, p.data(), p.size());
            out += p.size();
        }
        view_ = n > sizeof buf_ ? std::string_view(big_) : std::string_view(buf_, n);
    }
    ShortText(const ShortText&) = delete;
    ShortText& operator=(const ShortText&) = delete;
    std::string_view view() const { return view_; }

private:
    char buf_[64];
    std::string big_;
    std::string_view view_;
};

// A zone offset that does not fit the field is not a number we can take.
std::int32_t Minutes(std::int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) throw ConvertError();
    return static_cast<std::int32_t>(v);
}

}  // namespace

// $--GGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,q,nn,h.h,a.a,M,...
//   1 time  2-5 position  6 fix quality ("0" no fix)  7 satellites  8 HDOP  9 antenna altitude
// Guarded: any failure ends the sentence silently, keeping what was stored; no cut then.
void DoGGA(Session& s, const Fields& f) {
    try {
        const TDateTime t = TimeWithDate(s, f.at(1), s.curevent.dts);
        const TCoord pos = ReadPosition(f, 2);
        if (f.at(6) == "0") return;
        static_cast<void>(IntOrZero(f.at(7)));  // must be an integer; the count is not used
        if (auto v = Num(f.at(8))) s.curevent.hdop = *v;
        if (auto v = Num(f.at(9))) s.curevent.antalt = *v;
        CutCheck(s, pos, t);
    } catch (const ConvertError&) {
    }
}

// $--GLL,llll.ll,a,yyyyy.yy,a,hhmmss.ss,A
//   1-4 position  5 time  6 status ("A" valid)
void DoGLL(Session& s, const Fields& f) {
    const TCoord pos = ReadPosition(f, 1);
    const TDateTime t = TimeWithDate(s, f.at(5), s.curevent.dts);
    if (f.at(6) == "A") CutCheck(s, pos, t);
}

// $--GSA,a,x,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,p.p,h.h,v.v
//   2 fix type ("1" none, "2" 2D, "3" 3D)  16 HDOP
// A multi-constellation receiver sends one GSA per constellation for each fix, every one with
// the combined solution's DOPs: each simply stores the same HDOP again.
void DoGSA(Session& s, const Fields& f) {
    if (f.at(2) == "1") return;
    if (auto v = Num(f.at(16))) s.curevent.hdop = *v;
}

// $--RMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a
//   1 time  2 status ("A" valid)  3-6 position  7 speed, knots  8 course made good  9 date
//   10 magnetic variation, 11 E/W (the event's magvar keeps the number as written; the signed
//   value turns the magnetic headings of HDG and HDM true)
// Guarded like GGA. Instrument systems repeat the fix without a date: the time is then placed
// as a GGA time is.
void DoRMC(Session& s, const Fields& f) {
    try {
        if (f.at(2) != "A") return;
        TDateTime t = TimeWithDate(s, f.at(1), s.curevent.dts);
        const TCoord pos = ReadPosition(f, 3);
        if (auto v = Num(f.at(7))) s.curevent.speed = ToMps('N', *v);
        if (auto v = Num(f.at(8))) s.curevent.cmg = *v;
        // The sentence's date with its own time of day.
        if (!f.at(9).empty()) t = DateWithTime(s, f.at(9), t);
        if (auto v = Num(f.at(10))) {
            s.curevent.magvar = *v;
            s.seg.lastvariation = f.get(11) == "W" ? -*v : *v;
        }
        CutCheck(s, pos, t);
    } catch (const ConvertError&) {
    }
}

// $--VTG,x.x,T,x.x,M,x.x,N,x.x,K
//   1 track true, 2 "T"  3 track magnetic, 4 "M"  5 speed knots, 6 "N"  7 speed km/h, 8 "K"
void DoVTG(Session& s, const Fields& f) {
    TEvent& e = s.curevent;
    ReadAngleAndSpeed(f, e.track, e.trackmode, e.vmg);
}

// $--ZDA,hhmmss.ss,dd,mm,yyyy,zh,zm
//   1 time  2 day  3 month  4 year  5 local zone hours  6 local zone minutes
// No cut; dts is unchanged. An incomplete date leaves utc alone without a message.
void DoZDA(Session& s, const Fields& f) {
    const std::string_view time = f.at(1), day = f.at(2), month = f.at(3), year = f.at(4);
    const bool hasdate = !day.empty() && !month.empty() && !year.empty();
    TDateTime x = 0;
    if (hasdate) {
        const ShortText text{month, " ", day, " ", year, " ", Copy(time, 0, 2), ":",
                             Copy(time, 2, 2), ":", Copy(time, 4, 2)};
        x = DateTimeMDY(s, text.view());  // "Error=" and 0 when it does not convert
    }
    TEvent& e = s.curevent;
    if (auto h = NumInt(f.at(5))) e.timeoffset = Minutes(std::int64_t{*h} * 60);
    if (f.size() == 7)
        if (auto m = NumInt(f.at(6)))
            e.timeoffset = Minutes(e.timeoffset >= 0 ? std::int64_t{e.timeoffset} + *m : std::int64_t{e.timeoffset} - *m);
    if (hasdate && x != e.utc) e.utc = x;
}

}  // namespace brenvik

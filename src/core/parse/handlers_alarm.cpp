// Alarm and proprietary sentences: texts that belong to the one event in which they arrived.
// Neither handler is guarded: a missing field or a bad number throws ConvertError and
// DispatchNMEA files the sentence as corrupt.
#include <algorithm>
#include <string>

#include "parse/fieldreaders.h"
#include "parse/handlers.h"
#include "parse/segment.h"
#include "session.h"

namespace brenvik {
namespace {

// Condition "V" (not exceeded) or other (exceeded), acknowledged "A" or other.
std::int32_t AlarmStage(char condition, char acknowledge, std::string_view text) {
    const bool acked = acknowledge == 'A';
    if (condition == 'V')
        return acked ? (text.find("PROBLEM") != std::string_view::npos ? 1 : 0)
                     : (text.find("NORMAL") != std::string_view::npos ? 0 : 1);
    return acked ? 1 : 2;
}

}  // namespace

// $--ALR,hhmmss.ss,xxx,A,A,c--c
//   1 time of the alarm change  2 alarm number  3 condition ("A" exceeded, "V" not; empty "V")
//   4 acknowledged ("A" yes, "V" no; empty "A")  5 and on: the alarm text, split at its blanks
// bwalarm: the highest stage of this event's alarms, ":", the sentences joined by "|".
// Every alarm is offered to the segmentation at the event's own position.
void DoALR(Session& s, const Fields& f) {
    TEvent& e = s.curevent;
    TDateTime t = e.dts;  // an alarm without a time keeps the event's time
    if (!f.at(1).empty()) t = TimeWithDate(s, f.at(1), e.dts);
    if (!f.at(2).empty()) static_cast<void>(ToInt(f.at(2)));  // must be an integer; not used
    const std::string_view cond = f.at(3), ack = f.at(4);
    const std::string text = f.Join();
    std::int32_t stage = AlarmStage(cond.empty() ? 'V' : cond[0], ack.empty() ? 'A' : ack[0], text);

    std::int32_t previous = 0;
    std::string rest;
    if (!e.bwalarm.empty()) {
        const auto colon = e.bwalarm.find(':');
        previous = ToInt(std::string_view(e.bwalarm).substr(0, colon));
        if (colon != std::string::npos) rest = e.bwalarm.substr(colon + 1);
        rest += '|';
    }
    stage = std::max(stage, previous);
    s.seg.alarmstage = stage;
    e.bwalarm = std::to_string(stage) + ":" + rest + text;
    CutCheck(s, e.coord, t);
}

// $PFEC,...   proprietary sentence: fields 1 on, appended to the event's proprietary text.
void DoFEC(Session& s, const Fields& f) {
    std::string& p = s.curevent.proprietary;
    if (!p.empty()) p += '|';
    f.AppendJoined(p, 1);
}

}  // namespace brenvik

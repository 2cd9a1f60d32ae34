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

    // The sentence is appended where it stands and only the stage before the ":" is rewritten:
    // rebuilding the whole text for every alarm takes time quadratic in the number of alarms.
    std::string& a = e.bwalarm;
    std::int32_t previous = 0;
    std::size_t colon = 0;
    if (a.empty()) {
        a = ":";
    } else {
        colon = a.find(':');
        previous = ToInt(std::string_view(a).substr(0, colon));
        if (colon == std::string::npos) {
            colon = a.size();
            a += ':';
        }
        a += '|';
    }
    const std::size_t textstart = a.size();
    f.AppendJoined(a);
    const std::string_view text = std::string_view(a).substr(textstart);
    const std::int32_t stage = std::max(AlarmStage(cond.empty() ? 'V' : cond[0], ack.empty() ? 'A' : ack[0], text), previous);
    s.seg.alarmstage = stage;
    const std::string stagetext = std::to_string(stage);
    if (std::string_view(a).substr(0, colon) != stagetext) a.replace(0, colon, stagetext);
    CutCheck(s, e.coord, t);
}

// $PFEC,...   proprietary sentence: fields 1 on, appended to the event's proprietary text.
void DoFEC(Session& s, const Fields& f) {
    std::string& p = s.curevent.proprietary;
    if (!p.empty()) p += '|';
    f.AppendJoined(p, 1);
}

}  // namespace brenvik

#include "ais/aisassembly.h"

#include <optional>

#include "ais/aisdecode.h"
#include "model/strutil.h"
#include "session.h"

namespace brenvik {
namespace {

// A sentence that was counted among those read and makes no report: corrupt, so not processed.
void FileCorrupt(Session& s, const Fields& f) {
    std::string& rec = s.corruptrecs.emplace_back(Fmt("%7.7d|", s.recnumb));
    f.AppendJoined(rec);
    ++s.corruptcount;
    ++s.unproclines;
}

struct TSentence {
    std::string_view type;  // characters 4 to 6 of field 0
    std::int32_t count = 0;
    std::int32_t number = 0;
    std::int32_t ident = 0;
    bool channelb = false;
    std::string_view fragment;
};

// An empty count or identifier counts as 0; the fragment number must be an integer.
bool ReadSentence(const Fields& f, TSentence& snt) {
    if (f.size() < 6) return false;
    const std::string_view tag = f.get(0);
    snt.type = tag.size() > 3 ? tag.substr(3, 3) : std::string_view{};
    const std::optional<std::int32_t> count = f.get(1).empty() ? 0 : ParseInt(f.get(1));
    const std::optional<std::int32_t> number = ParseInt(f.get(2));
    const std::optional<std::int32_t> ident = f.get(3).empty() ? 0 : ParseInt(f.get(3));
    if (!count || !number || !ident) return false;
    snt.count = *count;
    snt.number = *number;
    snt.ident = *ident;
    snt.channelb = f.get(4) == "B";
    snt.fragment = f.get(5);
    return true;
}

void Complete(Session& s, const Fields& f, std::string_view type, std::string_view payload) {
    if (payload.size() < 5) {
        FileCorrupt(s, f);
    } else if (type == "VDM" || type == "VDO") {
        DecodeAIS(s, payload, type);
    } else {
        ++s.unproclines;
    }
}

}  // namespace

void ProcessAIS(Session& s, const Fields& f) {
    ++s.totlines;
    s.curevent.lasttag.assign(f.get(0));
    TSentence snt;
    if (!ReadSentence(f, snt)) {
        // As for any sentence a handler cannot read: filed, not processed, and reading goes on.
        FileCorrupt(s, f);
        return;
    }
    const bool last = snt.number >= snt.count;
    if (last && snt.number == 1) {
        // A single-sentence message: decoded at once, whatever the slot holds.
        Complete(s, f, snt.type, snt.fragment);
        return;
    }
    if (snt.ident < 0 || snt.ident > 9) {
        FileCorrupt(s, f);
        return;
    }
    TFragment& slot = s.fragments[static_cast<std::size_t>(snt.ident + (snt.channelb ? 10 : 0))];
    if (snt.number < 1) {
        // Fragments count from 1: no slot expects a number 0 (an empty slot's "next" is 0).
        FileCorrupt(s, f);
        slot.Reset();
        return;
    }
    if (snt.number == 1) {
        slot.text.assign(snt.fragment);
        slot.count = snt.count;
        slot.next = 2;
        return;
    }
    // Joining a fragment to the wrong message would invent vessels: only the expected
    // fragment of the same count continues a message.
    if (slot.next != snt.number || slot.count != snt.count) {
        FileCorrupt(s, f);
        slot.Reset();
        return;
    }
    slot.text += snt.fragment;
    if (!last) {
        ++slot.next;
        return;
    }
    Complete(s, f, snt.type, slot.text);
    slot.Reset();
}

}  // namespace brenvik

#pragma once
// Gathering the sources summary (model/sources.h) in the load's single pass. The loader calls
// SourceLineBegin and SourceLineEnd around each line it hands to the framer; the framer tells
// what it found in between (NoteAddress, NoteRecorderTime). A line's counts come from the
// changes of the loader's counters, so the summary adds up to the report by construction.
#include <cstdint>
#include <string_view>

#include "model/datetime.h"

namespace brenvik {

class Session;

// What the framer learnt about the current line.
struct TLineNote {
    std::string_view address;  // the sentence from its "$" or "!" on (valid during the line)
    bool hasrec = false;       // the line carries a recorder time (VDR prefix or tag block)
    TDateTime rec = 0;
    std::int32_t totlines = 0, unproclines = 0, corruptcount = 0;  // counters before the line
};

void SourceLineBegin(Session& s);
void SourceLineEnd(Session& s);

inline void NoteAddress(TLineNote& n, std::string_view sentence) { n.address = sentence; }
inline void NoteRecorderTime(TLineNote& n, TDateTime t) {
    n.hasrec = true;
    n.rec = t;
}

// Talker and identifier of a sentence ("$GPRMC,..." gives GP and RMC; "$PFEC,..." gives P and
// FEC); an empty talker when the sentence has none.
struct TSourceKey {
    std::string_view talker, ident;
};
TSourceKey SourceKey(std::string_view sentence);

}  // namespace brenvik

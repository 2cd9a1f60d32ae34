#pragma once
// Gathering the sources summary (model/sources.h) in the load's single pass. The loader calls
// SourceLineBegin and SourceLineEnd around each line it hands to the framer; the framer tells
// what it found in between (NoteAddress, NoteRecorderTime). A line's counts come from the
// changes of the loader's counters, so the summary adds up to the report by construction.
#include <cstdint>
#include <string_view>

#include "model/sources.h"

namespace brenvik {

class Fields;
class Session;

void SourceLineBegin(Session& s);
// `f` holds the line's fields when it reached the dispatcher.
void SourceLineEnd(Session& s, const Fields& f);

TSourceKey SourceKey(std::string_view sentence);

}  // namespace brenvik

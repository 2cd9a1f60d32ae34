#pragma once
// Line framing, checksum, VDR prefixes and sentence dispatch (ParseLine).
#include <string_view>

#include "model/eventobj.h"
#include "model/sentencefields.h"

namespace brenvik {

class Session;

using Handler = void (*)(Session&, const Fields&);

void ParseLine(Session& s, std::string_view line);
// Cuts the checksum off `text` and keeps it from position `from` (0-based here); returns true
// when the sentence is rejected (and filed as a corrupt line).
bool CheckSentence(Session& s, std::string_view& text, std::size_t from);
bool ChecksumOK(std::string_view body, std::string_view checksum);
// Routes one "$" sentence; `sentence` is its text as the checksum step left it (for the
// corrupt-line record of a sentence its handler cannot read).
void DispatchNMEA(Session& s, const Fields& f, std::string_view sentence);
// The recorder time of a prefix; `ok` (when given) tells whether it converted.
TDateTime ParseVdrPrefix(Session& s, std::string_view prefix, bool* ok = nullptr);
TDateTime ParseBracketPrefix(Session& s, std::string_view prefix, bool* ok = nullptr);
TDateTime DateTimeMDY(Session& s, std::string_view text, bool* ok = nullptr);
// Adds "%7.7d|text" for the current line to corruptrecs (the caller counts it in corruptcount).
void AddCorrupt(Session& s, std::string_view text);
// A line rejected before any handler saw it: filed, and counted among the sentences read and
// the unprocessed ones, so that corrupt lines never outnumber the lines counted.
void FileCorruptLine(Session& s, std::string_view text);

}  // namespace brenvik

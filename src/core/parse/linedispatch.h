#pragma once
// Line framing, checksum, VDR prefixes and sentence dispatch (ParseLine).
#include <cstdint>
#include <string_view>

#include "model/eventobj.h"
#include "model/sentencefields.h"
#include "model/sources.h"

namespace brenvik {

class Session;

using Handler = void (*)(Session&, const Fields&);

void ParseLine(Session& s, std::string_view line);

// A line is read in two steps: framing finds what the line holds without touching the session
// (so the loader can frame lines on a thread of their own, ahead of the session), applying
// hands it on in the line's order. ParseLine is the two in a row.
struct TFrameRules {
    bool verifychecksum = true;
    bool ignorevdr = false;
    // The year two-digit years fall in; 0 leaves recorder prefixes to the applying step.
    int nowyear = 0;
};
TFrameRules FrameRules(const Session& s);

struct TLineFrame {
    enum class Kind : std::uint8_t { Blank, TagBlock, AIS, NMEA };
    // A recorder prefix: none (or ignored), failing its checksum, to be read when applied, or
    // read already (into `recorder`).
    enum class Prefix : std::uint8_t { None, Corrupt, Unread, Read };
    Kind kind = Kind::Blank;
    Prefix prefix = Prefix::None;
    bool corrupt = false;  // the sentence failed its checksum: `text` is what is filed
    bool split = false;    // the fields given to FrameLine hold this line's sentence
    std::string_view line;        // trimmed
    std::string_view prefixtext;  // as its checksum step left it
    std::string_view text;        // the sentence as its checksum step left it
    std::size_t dollar = std::string_view::npos;
    TDateTime recorder = 0;
    TSourceKey key;  // of the sentence from its "$" or "!" on
    // The dispatcher's route of a split "$" sentence (an index into its table), or noroute.
    static constexpr std::int8_t noroute = -1;
    std::int8_t route = noroute;
};
// `tagblocks` false reads a line whose tag block was taken off already.
void FrameLine(const TFrameRules& r, std::string_view line, TLineFrame& f, Fields& fields, bool tagblocks = true);
// `fields` are those FrameLine was given.
void ApplyLine(Session& s, const TLineFrame& f, Fields& fields);
// CheckSentence without filing: true when the sentence is rejected.
bool SentenceCorrupt(bool verify, std::string_view& text, std::size_t from);
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
// The same readings without messages: false when the text does not convert (`value` is then
// what the reading above returns); `rest` is what the message names.
bool ReadVdrPrefix(std::string_view prefix, int nowyear, TDateTime& value, std::string_view* rest = nullptr);
bool ReadDateTimeMDY(std::string_view text, int nowyear, TDateTime& value);
// The text between "[" and "]" of a bracket prefix; empty when it is not closed.
std::string_view BracketText(std::string_view prefix);
// Adds "%7.7d|text" for the current line to corruptrecs (the caller counts it in corruptcount).
void AddCorrupt(Session& s, std::string_view text);
// A line rejected before any handler saw it: filed, and counted among the sentences read and
// the unprocessed ones, so that corrupt lines never outnumber the lines counted.
void FileCorruptLine(Session& s, std::string_view text);

}  // namespace brenvik

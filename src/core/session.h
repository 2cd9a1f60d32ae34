#pragma once
// The program-wide state of one run: settings, the field catalogue, the lists that a load
// fills, and the loader's and segmentation's per-file state. Handlers receive it explicitly.
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "ais/aisassembly.h"
#include "ais/vessels.h"
#include "model/aisreport.h"
#include "model/datetime.h"
#include "model/encounter.h"
#include "model/eventobj.h"
#include "model/linemessages.h"
#include "model/logfiles.h"
#include "model/sentencefields.h"
#include "model/sources.h"
#include "platform.h"
#include "present/fieldcat.h"
#include "present/format.h"
#include "model/settings.h"

namespace brenvik {

constexpr std::int32_t linelimit = 1000000;
constexpr std::int32_t eventlimit = 100000;

// Event segmentation state, reset at the start of every load.
struct TSegState {
    double timethreshdays = 0;                  // (timethresh - 0.0001) / 86400
    TCoord lastpos{std::numbers::pi, 0};        // radians; none while lat > pi/2
    double lastdist = -1;
    double totaldist = 0;
    std::int32_t alarmstage = -1;
    double lastheading = novalue;
    bool hdtheading = false;         // an HDT stored a heading: magnetic headings are not used then
    double lastvariation = novalue;  // of the latest valid RMC that carried one, east positive
};

class Session {
public:
    explicit Session(Platform& p) : platform(p) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Platform& platform;
    TSettings settings;
    TFieldCatalogue fields;

    // What a load produces.
    TEvents events;
    TEvent curevent;
    TaisEvents aisevents;
    TVhcls vehicles;
    std::string ownmmsi = "000000000";
    std::vector<std::int32_t> aisselection;
    // How close each vessel came: worked out after a completed load (OpenLogFile).
    TEncounters encounters;
    // One vessel's reports are shown (aisselection, empty when it sent none), not all reports.
    bool aisselected = false;
    // AIS fragments waiting for the rest of their message; kept across loads.
    TFragments fragments;

    // The files the last load read, in reading order, with their line ranges.
    std::vector<TLogFile> logfiles;
    // The same as one entry for the last file and the recent files (model/logfiles.h).
    std::string logentry;

    // Loader state.
    // Logs of this many bytes or more are framed on a second thread (see parse/linefeed.h): for
    // a shorter one starting the thread costs more than it saves.
    std::uint64_t framethreadbytes = 1 << 20;
    bool fileheader = true;
    std::int32_t recnumb = 0;
    std::int32_t totlines = 0;
    std::int32_t unproclines = 0;
    std::int32_t corruptcount = 0;
    std::vector<std::string> corruptrecs;
    TDateTime vdrdts = 0;
    // UTC of the latest RMC, GGA, GLL or ZDA taken by its handler: an AIS report's reception
    // time when its line carries no recorder time. 0 until one is read.
    TDateTime lastfixutc = 0;
    std::string vdrchl;
    std::string limitname;
    std::int32_t limithit = 0;
    std::int32_t limitline = 0;  // the line at which a capacity stopped the reading; 0 when none
    std::int32_t cancelline = 0;  // the line at which the user stopped the reading; 0 when none
    TDateTime firstdts = 0;
    // What each talker and sentence identifier sent, and the clocks: gathered line by line.
    TSources sources;
    TLineNote linenote;
    // The line being read (valid only while the framer has it) and the per-line messages so far.
    std::string_view curline;
    TLineMessages linemessages;

    TSegState seg;

    // The current sentence's fields.
    Fields linefields;

    // The current UTC year, asked once per load: two-digit years are windowed around it.
    int NowYear() {
        if (nowyear_ == 0) nowyear_ = YearOf(platform.NowUTC());
        return nowyear_;
    }
    void ForgetNowYear() { nowyear_ = 0; }

    // A per-line message: shown for the first of its kind in this load, counted always. When
    // the text says nothing after its prefix, it names the line and how the line begins.
    void LineMessage(LineMsg kind, MsgKind box, std::string_view detail, bool escape = true) {
        if (!linemessages.Note(kind, recnumb)) return;
        std::string text(LineMsgPrefix(kind));
        if (detail.empty())
            text += "line " + std::to_string(recnumb) + ": " + LineStartText(curline);
        else
            text += escape ? EscapeControls(detail) : std::string(detail);
        platform.ShowMessage(box, text);
    }

    // The value-text context for the current settings.
    TFormat Format() const {
        TFormat f;
        f.parms = settings.parms;
        f.coordformat = settings.coordformat;
        f.dateformat = settings.dateformat;
        f.rotations = settings.rotations;
        f.firstdts = firstdts;
        f.decsep = platform.DecimalSeparator();
        f.timesep = platform.TimeSeparator();
        return f;
    }

private:
    int nowyear_ = 0;
};

}  // namespace brenvik

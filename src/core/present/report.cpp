#include "present/report.h"

#include "model/strutil.h"
#include "session.h"

namespace brenvik {

// Interim: the file and counts lines until the formatting unit lands.
std::vector<std::string> SummaryReport(const Session& s) {
    std::vector<std::string> lines;
    lines.push_back("File: " + s.settings.lastfile);
    lines.push_back(Fmt("Total lines = %d, Processed Lines = %d, Corrupt lines = %d,  Number of NMEA Events = %d",
                        s.totlines, s.totlines - s.unproclines, s.corruptcount, s.events.count()));
    return lines;
}

}  // namespace brenvik

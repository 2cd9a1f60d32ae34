#include "ais/aisfns.h"

#include "session.h"

namespace brenvik {

// Interim: counts the sentence until assembly and decoding land.
void ProcessAIS(Session& s, const Fields& f) {
    ++s.totlines;
    s.curevent.lasttag = std::string(f.get(0));
    ++s.unproclines;
}

}  // namespace brenvik

#pragma once
// What a value text depends on: units, formats and the locale's separators.
#include "model/eventobj.h"
#include "model/settings.h"

namespace brenvik {

struct TFormat {
    Tparms parms;
    char coordformat = 'D';
    char dateformat = 'D';
    bool rotations = false;
    TDateTime firstdts = 0;  // base of numeric times
    char decsep = '.';
    char timesep = ':';
};

}  // namespace brenvik

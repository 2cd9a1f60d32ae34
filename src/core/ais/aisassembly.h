#pragma once
// AIS sentence assembly: fragments joined into complete payloads for the decoder.
#include <array>
#include <cstdint>
#include <string>

#include "model/sentencefields.h"

namespace brenvik {

class Session;

// One slot of the fragment store: the text joined so far, the fragment count of its message
// and the fragment number it expects next (0: the slot holds nothing).
struct TFragment {
    std::string text;
    std::int32_t count = 0;
    std::int32_t next = 0;
    void Reset() {
        text.clear();
        count = 0;
        next = 0;
    }
};

// Slots 0 to 9 serve message identifiers 0 to 9 on channel A, 10 to 19 the same on channel B.
using TFragments = std::array<TFragment, 20>;

// Takes one accepted "!" sentence: counts it, joins fragments, files broken ones as corrupt
// lines and hands each complete payload to DecodeAIS.
void ProcessAIS(Session& s, const Fields& f);

}  // namespace brenvik

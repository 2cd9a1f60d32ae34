#pragma once
// AIS sentence assembly, payload bits and message decoding.
#include <string_view>

#include "parse/fields.h"

namespace brenvik {

class Session;

// Takes one accepted "!" sentence: joins fragments and decodes complete payloads.
void ProcessAIS(Session& s, const Fields& f);

}  // namespace brenvik

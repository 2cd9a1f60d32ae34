#pragma once
// AIS message decoding: a complete payload into an AIS report and the vessel registry.
#include <cstdint>
#include <string_view>

namespace brenvik {

class Session;

constexpr std::int32_t vessellimit = 20000;
constexpr std::int32_t aisreportlimit = 50000;

// Decodes one complete payload into a report and keeps the vessel registry up to date.
void DecodeAIS(Session& s, std::string_view payload, std::string_view sentencetype);

}  // namespace brenvik

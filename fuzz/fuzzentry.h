#pragma once
// What the fuzz targets run on one input, shared with the test that replays fuzz/regressions
// in the normal build. Each returns an empty text when the input went through cleanly, else
// what went wrong (a crash or a sanitizer finding shows by itself).
#include <cstddef>
#include <cstdint>
#include <string>

namespace brenvik::fuzz {

// The whole load of the bytes as a log file, with settings picked from the bytes, then the
// report and one output picked from the bytes (an export or the AIS views), into memory or
// as a file.
std::string FuzzLoad(const std::uint8_t* data, std::size_t size);

// The AIS path alone: each line beginning with "!" goes through framing and fragment
// assembly, any other line is decoded as a complete payload; then the AIS views or one of the
// two AIS exports (picked from the bytes), into memory or as a file.
std::string FuzzAIS(const std::uint8_t* data, std::size_t size);

// The bytes as a settings file: read, written over itself and read again; the second read
// must give the settings of the first. Most inputs make the trip in memory, some (picked from
// the bytes) through a file.
std::string FuzzSettings(const std::uint8_t* data, std::size_t size);

}  // namespace brenvik::fuzz

#pragma once
// The KML writer: creates or replaces its file and reports success or failure to the user
// itself.
#include <string>
#include <vector>

namespace brenvik {

class Session;

// A KML 2.2 document: a point per event with its shown fields, a track per vessel.
void WriteKML(Session& s, const std::string& path, const std::string& schemaname, int n,
              const std::vector<int>& fields);

}  // namespace brenvik

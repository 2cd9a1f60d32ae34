#pragma once
// Helpers for the writer tests: a strict reading of CR LF lines and of RFC 4180, and running
// the installed command-line tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/tempdir.h"

namespace brenvik::test {

// Lines of a file whose every line ends in CR LF. A bare CR or LF, or a last line without
// its end, fails the test.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < bytes.size()) {
        const std::size_t e = bytes.find("\r\n", p);
        if (e == std::string::npos) {
            ADD_FAILURE() << "last line without CR LF: " << bytes.substr(p);
            break;
        }
        lines.push_back(bytes.substr(p, e - p));
        p = e + 2;
    }
    for (const auto& l : lines)
        if (l.find_first_of("\r\n") != std::string::npos) ADD_FAILURE() << "bare CR or LF in: " << l;
    return lines;
}

// RFC 4180: records end in CR LF; a field is either unquoted (no comma, quote, CR, LF) or
// enclosed in double quotes with inner quotes doubled. nullopt for anything malformed.
inline std::optional<std::vector<std::vector<std::string>>> ReadCsv(const std::string& bytes) {
    std::vector<std::vector<std::string>> rows;
    std::size_t p = 0;
    const std::size_t n = bytes.size();
    while (p < n) {
        std::vector<std::string> row;
        while (true) {
            std::string field;
            if (p < n && bytes[p] == '"') {
                ++p;
                while (true) {
                    if (p >= n) return std::nullopt;
                    if (bytes[p] == '"') {
                        if (p + 1 < n && bytes[p + 1] == '"') {
                            field += '"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    field += bytes[p++];
                }
            } else {
                while (p < n && bytes[p] != ',' && bytes[p] != '\r' && bytes[p] != '\n') {
                    if (bytes[p] == '"') return std::nullopt;
                    field += bytes[p++];
                }
            }
            row.push_back(field);
            if (p < n && bytes[p] == ',') {
                ++p;
                continue;
            }
            if (bytes.compare(p, 2, "\r\n") != 0) return std::nullopt;
            p += 2;
            break;
        }
        rows.push_back(row);
    }
    return rows;
}

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs a shell command, collecting its standard output (standard error joins it when asked).
inline CommandResult RunCommand(const std::string& cmd) {
    CommandResult r;
    std::FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return r;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, got);
    r.status = ::pclose(p);
    return r;
}

inline bool HaveTool(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null 2>&1").status == 0;
}

// A shell word holding the text exactly.
inline std::string Quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace brenvik::test

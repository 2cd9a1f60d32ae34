#pragma once
// Runs brenvik-cli as a user would, under a given locale (C unless said), and collects what
// it says.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "model/strutil.h"
#include "support/tempdir.h"

namespace brenvik::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// args are passed to the shell as they stand; quote paths with Q. cwd empty: the test's own.
inline CliResult RunCli(const TempDir& dir, const std::string& args, const std::string& locale = "C",
                        const std::string& cwd = "") {
    const std::string errfile = dir.File("stderr.txt");
    std::string cmd = cwd.empty() ? std::string() : "cd '" + cwd + "' && ";
    cmd += "LC_ALL=" + locale + " '" + std::string(BRENVIK_CLI) + "' " + args + " 2>'" + errfile + "'";
    CliResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = ReadFile(errfile);
    return r;
}

inline std::string Q(const std::string& s) { return "'" + s + "'"; }

// A log line: the sentence, its checksum and CR LF.
inline std::string Sentence(const std::string& body) {
    unsigned sum = 0;
    for (char c : body.substr(1)) sum ^= static_cast<unsigned char>(c);
    return body + Fmt("*%02X\r\n", sum);
}

}  // namespace brenvik::test

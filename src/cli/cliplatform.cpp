#include "cliplatform.h"

#include <langinfo.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "export/textfile.h"
#include "model/linemessages.h"

namespace brenvik::cli {
namespace {

// Message texts end lines with CR LF; a terminal wants LF. They may quote log lines, whose
// bytes are made UTF-8 as in the text views.
void PrintText(std::string_view text) {
    std::string lf;
    lf.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lf.push_back(text[i]);
    }
    lf.push_back('\n');
    std::string out;
    AppendUtf8(out, lf);
    std::fwrite(out.data(), 1, out.size(), stderr);
}

}  // namespace

CliPlatform::CliPlatform() {
    std::setlocale(LC_ALL, "");
    if (const std::lconv* lc = std::localeconv(); lc && lc->decimal_point && lc->decimal_point[0])
        decsep_ = lc->decimal_point[0];
    // The time separator is the character after the hour in the locale's time format.
    if (const char* tf = nl_langinfo(T_FMT); tf) {
        const char* h = std::strstr(tf, "%H");
        if (!h) h = std::strstr(tf, "%I");
        if (h && h[2] && h[2] != '%') timesep_ = h[2];
    }
}

void CliPlatform::ShowMessage(MsgKind, std::string_view text, int, bool) {
    if (!IsLineMessage(text)) {
        PrintText(text);
        return;
    }
    // A per-line message takes one line of stderr, so that a script can count them.
    std::string one;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n') one += "; ";
        else one.push_back(text[i]);
    }
    PrintText(one);
}

Answer CliPlatform::Ask(QuestionKind, std::string_view text, int) {
    PrintText(std::string(text) + " Yes");
    return Answer::Yes;
}

TDateTime CliPlatform::NowUTC() {
    using namespace std::chrono;
    const double secs = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + secs / 86400.0;  // 1970-01-01 is day 25569
}

}  // namespace brenvik::cli

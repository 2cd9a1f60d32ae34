#include "cliplatform.h"

#include <langinfo.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "export/textfile.h"
#include "model/linemessages.h"
#include "present/progresstext.h"

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

// 1234567 as "1,234,567", whatever the locale.
std::string Grouped(unsigned long long n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

constexpr std::chrono::seconds kProgressAfter{1};  // shorter reads need no progress line
constexpr std::chrono::milliseconds kRedrawEvery{200};

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
    // Scripts and the tests read stderr: the progress line is for a person at a terminal.
    tty_ = isatty(STDERR_FILENO) == 1;
}

void CliPlatform::LoadStarted() {
    started_ = std::chrono::steady_clock::now();
    drawn_ = started_;
}

void CliPlatform::ShowReport(const std::vector<std::string>&) { ClearProgress(); }

bool CliPlatform::LoadProgress(const TLoadProgress& p) {
    if (!tty_) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - started_ < kProgressAfter || now - drawn_ < kRedrawEvery) return true;
    drawn_ = now;
    const double secs = std::chrono::duration<double>(now - started_).count();
    std::string line = "Reading";
    if (p.totalbytes > 0) {
        char percent[16];
        std::snprintf(percent, sizeof percent, " %.1f %%",
                      100.0 * static_cast<double>(p.bytes) / static_cast<double>(p.totalbytes));
        line += percent;
    }
    line += " - " + Grouped(static_cast<unsigned long long>(p.lines)) + " lines - " +
            Grouped(static_cast<unsigned long long>(static_cast<double>(p.lines) / secs)) + " lines/s";
    if (const auto left = SecondsLeft(p, secs)) line += " - " + TimeLeftText(*left) + " left";
    // Padded over a longer line drawn before; the next one starts again at the line's start.
    const std::size_t width = line.size();
    if (width < drawnwidth_) line.append(drawnwidth_ - width, ' ');
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
    drawnwidth_ = width;
    return true;
}

void CliPlatform::ClearProgress() {
    if (drawnwidth_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(drawnwidth_, ' ').c_str());
    std::fflush(stderr);
    drawnwidth_ = 0;
}

void CliPlatform::ShowMessage(MsgKind, std::string_view text, int, bool) {
    ClearProgress();
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
    ClearProgress();
    PrintText(std::string(text) + " Yes");
    return Answer::Yes;
}

TDateTime CliPlatform::NowUTC() {
    using namespace std::chrono;
    const double secs = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + secs / 86400.0;  // 1970-01-01 is day 25569
}

}  // namespace brenvik::cli

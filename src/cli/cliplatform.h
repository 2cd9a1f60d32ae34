#pragma once
// The command-line program's platform: messages go to stderr, questions are answered Yes
// (the user named the files on the command line), separators come from the environment's locale.
// A load that reads for more than a second draws a progress line on stderr, in place, when
// stderr is a terminal; it is cleared before any message and when the reading ends.
#include <chrono>
#include <cstddef>

#include "platform.h"

namespace brenvik::cli {

class CliPlatform : public Platform {
public:
    CliPlatform();
    void ShowMessage(MsgKind kind, std::string_view text, int helpcontext, bool helpbutton) override;
    Answer Ask(QuestionKind kind, std::string_view text, int helpcontext) override;
    TDateTime NowUTC() override;
    char DecimalSeparator() const override { return decsep_; }
    char TimeSeparator() const override { return timesep_; }

    void LoadStarted() override;
    void ShowReport(const std::vector<std::string>& lines) override;
    bool LoadProgress(const TLoadProgress& p) override;

private:
    void ClearProgress();

    char decsep_ = '.';
    char timesep_ = ':';
    bool tty_ = false;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point drawn_{};
    std::size_t drawnwidth_ = 0;  // characters of the progress line now on the terminal
};

}  // namespace brenvik::cli

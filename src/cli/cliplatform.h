#pragma once
// The command-line program's platform: messages go to stderr, questions are answered Yes
// (the user named the files on the command line), separators come from the environment's locale.
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

private:
    char decsep_ = '.';
    char timesep_ = ':';
};

}  // namespace brenvik::cli

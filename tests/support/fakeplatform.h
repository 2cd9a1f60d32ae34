#pragma once
// A platform for tests: records every message and question, answers from a queue,
// and keeps a fixed clock.
#include <deque>
#include <string>
#include <vector>

#include "model/datetime.h"
#include "platform.h"

namespace brenvik::test {

struct Shown {
    MsgKind kind;
    std::string text;
    int helpcontext;
    bool helpbutton;
};

class FakePlatform : public Platform {
public:
    // 2026-12-09 10:00:00 UTC unless a test sets another time.
    TDateTime now = *EncodeDate(2026, 12, 9) + 10.0 / 24.0;
    char decsep = '.';
    char timesep = ':';
    std::vector<Shown> messages;
    std::vector<std::string> questions;
    std::deque<Answer> answers;  // empty: every question is answered Yes
    std::vector<std::vector<std::string>> reports;
    int loadsstarted = 0;
    int loadsfinished = 0;
    // Progress calls seen; the load is cancelled at the call numbered cancelat (0: never).
    std::vector<TLoadProgress> progress;
    std::size_t cancelat = 0;

    void ShowMessage(MsgKind kind, std::string_view text, int helpcontext, bool helpbutton) override {
        messages.push_back({kind, std::string(text), helpcontext, helpbutton});
    }
    Answer Ask(QuestionKind, std::string_view text, int) override {
        questions.emplace_back(text);
        if (answers.empty()) return Answer::Yes;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    TDateTime NowUTC() override { return now; }
    char DecimalSeparator() const override { return decsep; }
    char TimeSeparator() const override { return timesep; }
    int TextWidth(std::string_view text) const override { return 6 * static_cast<int>(text.size()); }
    void LoadStarted() override { ++loadsstarted; }
    void ShowReport(const std::vector<std::string>& lines) override { reports.push_back(lines); }
    void LoadFinished() override { ++loadsfinished; }
    bool LoadProgress(const TLoadProgress& p) override {
        progress.push_back(p);
        return progress.size() != cancelat;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages) t.push_back(m.text);
        return t;
    }
};

}  // namespace brenvik::test

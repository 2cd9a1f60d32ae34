#pragma once
// Everything the core needs from the platform: message boxes and questions, the clock,
// the locale's separators and text measurement. The desktop program, the command-line
// program and the tests each implement it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/datetime.h"

namespace brenvik {

enum class MsgKind { Plain, Information, Warning, Error };
enum class QuestionKind { YesNo, YesCancel };
enum class Answer { Yes, No, Cancel };

// How far a load has come: bytes of all its files read so far and in all, lines so far.
struct TLoadProgress {
    std::uint64_t bytes = 0;
    std::uint64_t totalbytes = 0;
    std::int32_t lines = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box. helpcontext 0 means no help topic; helpbutton adds a Help button.
    virtual void ShowMessage(MsgKind kind, std::string_view text, int helpcontext = 0,
                             bool helpbutton = false) = 0;
    virtual Answer Ask(QuestionKind kind, std::string_view text, int helpcontext = 0) = 0;

    // The computer's current UTC date and time (days since 1899-12-30).
    virtual TDateTime NowUTC() = 0;

    virtual char DecimalSeparator() const { return '.'; }
    virtual char TimeSeparator() const { return ':'; }

    // Pixel width of a text in the grid font.
    virtual int TextWidth(std::string_view text) const { return 7 * static_cast<int>(text.size()); }

    // Display steps of a file load. The command-line program and the tests ignore them.
    virtual void LoadStarted() {}                                    // hide grids, clear the text panel
    virtual void ShowReport(const std::vector<std::string>& lines) { (void)lines; }
    virtual void LoadFinished() {}                                   // show the new data
    // Called every few thousand lines while a load reads; false stops the reading there, as
    // the user asked, and what was read so far is kept.
    virtual bool LoadProgress(const TLoadProgress& p) {
        (void)p;
        return true;
    }
};

}  // namespace brenvik

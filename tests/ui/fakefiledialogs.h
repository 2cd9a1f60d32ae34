#pragma once
// File dialogs for GUI tests: record what was asked, answer from a queue.
#include <deque>
#include <optional>
#include <vector>

#include "filedialogs.h"

namespace brenvik::test {

class FakeFileDialogs : public ui::FileDialogs {
public:
    std::vector<ui::FileDialogRequest> opened, saved;
    std::deque<QString> answers;  // an empty path, or none left: the user cancels

    std::optional<QString> OpenFile(const ui::FileDialogRequest& r) override {
        opened.push_back(r);
        return Next();
    }
    std::optional<QString> SaveFile(const ui::FileDialogRequest& r) override {
        saved.push_back(r);
        return Next();
    }

private:
    std::optional<QString> Next() {
        if (answers.empty()) return std::nullopt;
        const QString a = answers.front();
        answers.pop_front();
        if (a.isEmpty()) return std::nullopt;
        return a;
    }
};

}  // namespace brenvik::test

#pragma once
// The File menu's ten most recent log files, newest first.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

namespace brenvik {
class Session;
}

namespace brenvik::ui {

constexpr int kRecentEntries = 10;

// A path of at most n characters unchanged; a longer one as its first 3 characters, "..."
// and its last n - 6 characters. Characters are Unicode code points of the UTF-8 path.
std::string ShortenPath(std::string_view path, std::size_t n);
// A recent entry as the File menu shows it: the path shortened, or for a voyage its first
// path and how many files follow.
std::string RecentEntryText(std::string_view entry);

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // entries: the ten hidden, empty actions at the end of the File menu, after its last
    // separator; open receives the path of a chosen one.
    RecentFiles(Session& s, QMenu* filemenu, const std::array<QAction*, kRecentEntries>& entries,
                std::function<void(const std::string&)> open, QObject* parent = nullptr);

    // Puts path first in recentfiles (at most ten, no repeats) and rebuilds the entries,
    // unless it already is the first.
    void AddRecentFile(const std::string& path);
    // Captions "&<n> <shortened path>" for the entries in use; the others hidden.
    void RefreshRecentMenu();
    void RecentItemClick(QAction* action);

    QAction* Entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }

private:
    Session& s_;
    QPointer<QMenu> menu_;
    std::array<QPointer<QAction>, kRecentEntries> entries_;
    std::function<void(const std::string&)> open_;
};

}  // namespace brenvik::ui

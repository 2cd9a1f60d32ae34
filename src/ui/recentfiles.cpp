#include "recentfiles.h"

#include <QAction>
#include <QMenu>

#include "model/logfiles.h"
#include "openlog.h"
#include "session.h"

namespace brenvik::ui {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CodePoints(std::string_view s) {
    std::size_t n = 0;
    for (char c : s) n += IsContinuation(c) ? 0 : 1;
    return n;
}

// Byte offset of code point k.
std::size_t Offset(std::string_view s, std::size_t k) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < s.size(); ++i) {
        if (IsContinuation(s[i])) continue;
        if (seen++ == k) return i;
    }
    return s.size();
}

}  // namespace

std::string ShortenPath(std::string_view path, std::size_t n) {
    const std::size_t len = CodePoints(path);
    if (len <= n) return std::string(path);
    const std::size_t tail = n > 6 ? n - 6 : 0;
    std::string out(path.substr(0, Offset(path, 3)));
    out += "...";
    out += path.substr(Offset(path, len - tail));
    return out;
}

std::string RecentEntryText(std::string_view entry) {
    if (!IsVoyageEntry(entry)) return ShortenPath(entry, 40);
    const auto paths = EntryPaths(entry);
    return ShortenPath(paths.front(), 32) + " +" + std::to_string(paths.size() - 1) + " files";
}

RecentFiles::RecentFiles(Session& s, QMenu* filemenu, const std::array<QAction*, kRecentEntries>& entries,
                         std::function<void(const std::string&)> open, QObject* parent)
    : QObject(parent), s_(s), menu_(filemenu), open_(std::move(open)) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i] = entries[i];
        if (entries[i])
            connect(entries[i], &QAction::triggered, this, [this, a = entries[i]] { RecentItemClick(a); });
    }
}

void RecentFiles::AddRecentFile(const std::string& path) {
    const auto& list = s_.settings.recentfiles;
    if (!list.empty() && list.front() == path) return;
    brenvik::AddRecentFile(s_.settings, path);
    RefreshRecentMenu();
}

void RecentFiles::RefreshRecentMenu() {
    const auto& list = s_.settings.recentfiles;
    for (int i = 0; i < kRecentEntries; ++i) {
        QAction* entry = entries_[static_cast<std::size_t>(i)];
        if (!entry || !menu_ || !menu_->actions().contains(entry)) {
            s_.platform.ShowMessage(MsgKind::Error, "File Menu error - inform author\r\n"
                                                    "Recent file entry " + std::to_string(i + 1) +
                                                        " is missing from the File menu.");
            return;
        }
        if (static_cast<std::size_t>(i) < list.size()) {
            // A "&" in the path is shown as itself, not taken for an accelerator.
            const QString shown = QString::fromStdString(RecentEntryText(list[static_cast<std::size_t>(i)]))
                                      .replace(QLatin1Char('&'), QStringLiteral("&&"));
            entry->setText(QStringLiteral("&%1 ").arg(i + 1) + shown);
            entry->setVisible(true);
        } else {
            entry->setText(QString());
            entry->setVisible(false);
        }
    }
}

void RecentFiles::RecentItemClick(QAction* action) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] != action) continue;
        if (i < s_.settings.recentfiles.size() && open_) {
            const std::string path = s_.settings.recentfiles[i];  // the load reorders the list
            open_(path);
        }
        return;
    }
}

}  // namespace brenvik::ui

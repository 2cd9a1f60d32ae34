#pragma once
// The open and save file dialogs behind a small interface, so tests can answer them.
#include <optional>
#include <string_view>

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace brenvik::ui {

struct FileDialogRequest {
    QString caption;
    QString folder;         // initial folder; empty: the dialog's own choice
    QString filename;       // proposed name
    QStringList filters;    // name filters, in order
    int filterindex = 1;    // the selected filter, from 1
    QString defaultsuffix;  // added to a name typed without an extension; no point
    bool confirmoverwrite = false;  // the save dialog itself asks before replacing a file
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
};

// Qt's own dialogs (never the native ones, so they look and behave the same everywhere,
// headless runs included).
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

// A configured dialog, not yet shown; the caller owns it.
QFileDialog* MakeFileDialog(const FileDialogRequest& request, bool save, QWidget* parent);

// The extension a save dialog's filter stands for ("KML files (*.kml)" gives kml); fallback
// for a filter of all files.
QString FilterSuffix(const QString& filter, const QString& fallback);

// "CSV files (*.csv)|*.csv|All files (*.*)|*.*" as Qt name filters, one per pair.
QStringList NameFilters(std::string_view pipefilter);

}  // namespace brenvik::ui

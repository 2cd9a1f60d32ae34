#include "filedialogs.h"

#include <QFileDialog>

namespace brenvik::ui {

QStringList NameFilters(std::string_view pipefilter) {
    const QStringList parts = QString::fromUtf8(pipefilter.data(), static_cast<qsizetype>(pipefilter.size()))
                                  .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1].trimmed();
        // Qt reads the patterns from the parentheses; add them when the text lacks them.
        if (parts[i].contains(QLatin1Char('(') + pattern + QLatin1Char(')'), Qt::CaseInsensitive))
            filters << parts[i];
        else
            filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

QFileDialog* MakeFileDialog(const FileDialogRequest& request, bool save, QWidget* parent) {
    auto* d = new QFileDialog(parent, request.caption);
    d->setOption(QFileDialog::DontUseNativeDialog);
    d->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !request.confirmoverwrite) d->setOption(QFileDialog::DontConfirmOverwrite);
    d->setNameFilters(request.filters);
    if (request.filterindex >= 1 && request.filterindex <= request.filters.size())
        d->selectNameFilter(request.filters[request.filterindex - 1]);
    d->setDefaultSuffix(request.defaultsuffix);
    if (!request.folder.isEmpty()) d->setDirectory(request.folder);
    if (!request.filename.isEmpty()) d->selectFile(request.filename);
    return d;
}

namespace {
std::optional<QString> Run(const FileDialogRequest& request, bool save, QWidget* parent) {
    QFileDialog* d = MakeFileDialog(request, save, parent);
    std::optional<QString> chosen;
    if (d->exec() == QDialog::Accepted && !d->selectedFiles().isEmpty()) chosen = d->selectedFiles().front();
    delete d;
    return chosen;
}
}  // namespace

std::optional<QString> QtFileDialogs::OpenFile(const FileDialogRequest& request) { return Run(request, false, parent_); }
std::optional<QString> QtFileDialogs::SaveFile(const FileDialogRequest& request) { return Run(request, true, parent_); }

}  // namespace brenvik::ui

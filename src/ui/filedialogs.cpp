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

QString FilterSuffix(const QString& filter, const QString& fallback) {
    // The first pattern between the parentheses: "*.kml" gives kml; "*.*" and "*" give none.
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    QString patterns = open < 0 ? filter : filter.mid(open + 1);
    if (patterns.endsWith(QLatin1Char(')'))) patterns.chop(1);
    const QString first = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (!first.startsWith(QStringLiteral("*.")) || first.indexOf(QLatin1Char('*'), 1) >= 0 || first.size() < 3)
        return fallback;
    return first.mid(2);
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
    // A name typed without an extension takes the one of the filter the user chose; "All
    // files" gives the proposed one back.
    if (save)
        QObject::connect(d, &QFileDialog::filterSelected, d, [d, fallback = request.defaultsuffix](const QString& filter) {
            d->setDefaultSuffix(FilterSuffix(filter, fallback));
        });
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

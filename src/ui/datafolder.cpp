#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

#include "logtext.h"
#include "platform.h"

namespace brenvik::ui {
namespace {

std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kRegOrganisation), QString::fromLatin1(kRegApplication));
}

QString WithoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

}  // namespace

bool ForceFolder(const QString& path) {
    if (path.isEmpty()) return false;
    if (QFileInfo(path).isDir()) return true;
    const QString parent = QFileInfo(WithoutTrailingSeparator(path)).path();
    if (parent == path || parent.isEmpty()) return false;
    if (!ForceFolder(parent)) return false;
    return QDir().mkdir(path) || QFileInfo(path).isDir();
}

QString RegReadString() { return Store()->value(QString::fromLatin1(kRegValue)).toString(); }

void RegWriteString(const QString& text) {
    const auto store = Store();
    if (store->value(QString::fromLatin1(kRegValue)).toString() != text) store->setValue(QString::fromLatin1(kRegValue), text);
    store->sync();
}

void RegDeleteKey(Platform& platform) {
    const auto store = Store();
    store->clear();
    store->sync();
    if (store->status() == QSettings::NoError)
        platform.ShowMessage(MsgKind::Plain, std::string("Deleted Key: ") + kRegKey);
}

QString FindDataFolder(Platform& platform, const QString& programfolder) {
    QString f = RegReadString();
    if (f.isEmpty()) {
        const QString appdata = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        f = appdata.isEmpty() ? WithoutTrailingSeparator(programfolder)
                              : WithoutTrailingSeparator(appdata) + QStringLiteral("/Harbex/BRENV");
        RegWriteString(f);
    }
    if (!ForceFolder(f)) {
        RegDeleteKey(platform);
        f.clear();
    }
    return f;
}

QString FindUserFolder(Platform& platform) {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    const QString folder = WithoutTrailingSeparator(docs) + QStringLiteral("/My HRBX");
    if (!ForceFolder(folder))
        platform.ShowMessage(MsgKind::Plain, "Unable to find or create user folder: " + CoreText(folder));
    return folder + u'/';
}

QString SettingsFolder(const QString& datafolder) {
    return datafolder.isEmpty() ? QDir::homePath() : datafolder;
}

}  // namespace brenvik::ui

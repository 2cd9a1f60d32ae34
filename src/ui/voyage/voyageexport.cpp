#include "voyage/voyageexport.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "logtext.h"
#include "model/logfiles.h"
#include "present/valuetext.h"
#include "session.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"

namespace brenvik::ui {
namespace {

constexpr int kCaption = 24;

void Draw(QPainter& p, MapView* map, StripsView* strips, QSize mapsize, QSize stripsize, const QString& caption) {
    int y = 0;
    if (map != nullptr) {
        p.save();
        p.setClipRect(QRect(QPoint(0, 0), mapsize));
        map->Render(p, mapsize);
        p.restore();
        y += mapsize.height();
    }
    if (strips != nullptr) {
        p.save();
        p.translate(0, y);
        p.setClipRect(QRect(QPoint(0, 0), stripsize));
        strips->Render(p, stripsize);
        p.restore();
        y += stripsize.height();
    }
    const int w = std::max(mapsize.width(), stripsize.width());
    p.fillRect(QRect(0, y, w, kCaption), Qt::white);
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPointSizeF(9);
    p.setFont(f);
    p.drawText(QRect(6, y, w - 12, kCaption), Qt::AlignLeft | Qt::AlignVCenter, caption);
}

}  // namespace

QString VoyageCaption(const Session& s, const chart::TVoyage& v) {
    TFormat f = s.Format();
    f.dateformat = f.dateformat == 'N' ? 'D' : f.dateformat;  // a caption names real times
    const QString name = QFileInfo(LogText(EntryFirstPath(s.settings.lastfile))).fileName();
    QString span;
    if (v.HasTimes()) {
        const double d0 = v.t0 / 86400, d1 = v.t1 / 86400;
        span = LogText(DateText(f, d0)) + ' ' + LogText(TimeText(f, d0)) + QStringLiteral(" - ") +
               LogText(DateText(f, d1)) + ' ' + LogText(TimeText(f, d1)) + QStringLiteral(" UTC");
    }
    const Tparms& p = s.settings.parms;
    const QString vunit = p.vunits == 'F' ? QStringLiteral("ft") : p.vunits == 'T' ? QStringLiteral("fathoms") : QStringLiteral("m");
    QStringList parts;
    if (!name.isEmpty()) parts << name;
    if (!span.isEmpty()) parts << span;
    parts << QStringLiteral("speed ") + QString::fromLatin1(SpeedUnit(p.hunits).data(), static_cast<int>(SpeedUnit(p.hunits).size()))
          << QStringLiteral("distance ") + QString::fromLatin1(DistUnit(p.hunits).data(), static_cast<int>(DistUnit(p.hunits).size()))
          << QStringLiteral("depth ") + vunit;
    return parts.join(QStringLiteral(", "));
}

bool ExportVoyagePicture(MapView* map, StripsView* strips, int part, const QString& path, const QString& caption) {
    if (part == 1) map = nullptr;
    if (part == 0) strips = nullptr;
    if (map == nullptr && strips == nullptr) return false;
    const QSize mapsize = map != nullptr ? map->size() : QSize(0, 0);
    const QSize stripsize = strips != nullptr ? strips->size() : QSize(0, 0);
    const int w = std::max(mapsize.width(), stripsize.width());
    const int h = mapsize.height() + stripsize.height() + kCaption;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(w, h));
        svg.setViewBox(QRect(0, 0, w, h));
        svg.setTitle(caption);
        QPainter p;
        if (!p.begin(&svg)) return false;
        Draw(p, map, strips, QSize(w, mapsize.height()), QSize(w, stripsize.height()), caption);
        return p.end() && QFileInfo(path).size() > 0;
    }
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        Draw(p, map, strips, QSize(w, mapsize.height()), QSize(w, stripsize.height()), caption);
    }
    return img.save(path, "PNG");
}

}  // namespace brenvik::ui

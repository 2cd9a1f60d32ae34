#include "voyage/mapview.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "appstate.h"
#include "chart/series.h"
#include "logtext.h"
#include "models/gridcolours.h"
#include "present/valuetext.h"
#include "voyage/timecursor.h"
#include "voyage/voyagestyle.h"

namespace brenvik::ui {
namespace {

using chart::TMercatorView;

constexpr std::size_t kNoColour = 16;  // the colour step of a point without a value

// Outlines of a decoded bin in Mercator metres, one path per level.
struct CoastPaths {
    double westlng = 0, size = 0;
    QPainterPath level[4];
};

std::map<std::pair<char, int>, std::shared_ptr<CoastPaths>>& PathCache() {
    static std::map<std::pair<char, int>, std::shared_ptr<CoastPaths>> cache;
    return cache;
}

std::shared_ptr<CoastPaths> PathsOf(char res, const chart::TCoastBin& bin) {
    auto& cache = PathCache();
    const auto key = std::make_pair(res, bin.index);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    auto paths = std::make_shared<CoastPaths>();
    paths->westlng = bin.west;
    paths->size = bin.size;
    for (const auto& ring : bin.rings) {
        if (ring.level < 1 || ring.level > 4 || ring.lng.empty()) continue;
        QPainterPath& path = paths->level[ring.level - 1];
        path.moveTo(chart::MercX(ring.lng[0]), chart::MercY(ring.lat[0]));
        for (std::size_t i = 1; i < ring.lng.size(); ++i) path.lineTo(chart::MercX(ring.lng[i]), chart::MercY(ring.lat[i]));
        path.closeSubpath();
    }
    cache[key] = paths;
    return paths;
}

// Trailing zeros of a coordinate text dropped: 57.700000 -> 57.7, 11°30.0000' -> 11°30'.
QString ShortCoord(QString s) {
    static const QRegularExpression zeros(QStringLiteral("([.,]\\d*?)0+(?=\\D|$)"));
    static const QRegularExpression point(QStringLiteral("[.,](?=\\D|$)"));
    s.replace(zeros, QStringLiteral("\\1"));
    s.replace(point, QString());
    return s.trimmed();
}

// Whether the segment a-b passes through r (Liang-Barsky): segments wholly off the screen are
// not handed to the painter, whose stroking of far-away lines costs time.
bool Meets(const QPointF& a, const QPointF& b, const QRectF& r) {
    if (r.contains(a) || r.contains(b)) return true;
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

// Draws a polyline in pieces, leaving out the segments that do not meet the screen.
void DrawClipped(QPainter& p, const QPolygonF& line, const QRectF& screen) {
    QPolygonF run;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (Meets(line[i - 1], line[i], screen)) {
            if (run.isEmpty()) run << line[i - 1];
            run << line[i];
        } else if (!run.isEmpty()) {
            p.drawPolyline(run);
            run.clear();
        }
    }
    if (run.size() > 1) p.drawPolyline(run);
}

QColor Ramp(double t) {
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    return QColor::fromHsvF(static_cast<float>((1 - t) * 0.66), 0.9f, 0.85f);
}

}  // namespace

MapView::MapView(AppState& app, TimeCursor& cursor, QWidget* parent) : QWidget(parent), app_(app), cursor_(cursor) {
    setObjectName(QStringLiteral("VoyageMap"));
    setMinimumSize(200, 150);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&cursor_, &TimeCursor::changed, this, qOverload<>(&QWidget::update));
}

chart::TCoastline& MapView::Coastline() {
    static chart::TCoastline coast(qEnvironmentVariableIsSet("BRENVIK_GSHHG_DIR")
                                       ? qEnvironmentVariable("BRENVIK_GSHHG_DIR").toStdString()
                                       : std::string("/usr/share/gmt-gshhg"));
    return coast;
}

void MapView::SetVoyage(const chart::TVoyage* v, std::vector<QString> labels, std::vector<int> ownpoint) {
    voyage_ = v;
    labels_ = std::move(labels);
    ownpoint_ = std::move(ownpoint);
    hasencounter_ = false;
    SetColourBy(colourby_);
    fitted_ = false;
    FitAll();
}

void MapView::SetColourBy(ColourBy c) {
    colourby_ = c;
    vmin_ = 1e300;
    vmax_ = -1e300;
    if (voyage_ != nullptr)
        for (std::size_t i = 0; i < voyage_->own.size(); ++i) {
            const double x = ColourValue(i);
            if (x < 1e24) {
                vmin_ = std::min(vmin_, x);
                vmax_ = std::max(vmax_, x);
            }
        }
    if (vmin_ > vmax_) vmin_ = vmax_ = 0;
    // Each point's colour step, once per choice rather than per paint.
    colourix_.clear();
    if (voyage_ != nullptr) {
        const double span = vmax_ > vmin_ ? vmax_ - vmin_ : 1;
        colourix_.reserve(voyage_->own.size());
        for (std::size_t i = 0; i < voyage_->own.size(); ++i) {
            const double x = ColourValue(i);
            colourix_.push_back(x < 1e24 ? static_cast<std::uint8_t>(std::lround(std::clamp((x - vmin_) / span, 0.0, 1.0) * 15))
                                         : static_cast<std::uint8_t>(kNoColour));
        }
    }
    update();
}

double MapView::ColourValue(std::size_t point) const {
    const std::size_t ev = static_cast<std::size_t>(voyage_->own.ix[point]);
    switch (colourby_) {
        case ColourBy::Speed: return voyage_->series[chart::sSpeed][ev];
        case ColourBy::Depth: return voyage_->series[chart::sDepth][ev];
        case ColourBy::Time: return voyage_->own.secs[point];
        case ColourBy::Alarm: {
            const double a = voyage_->series[chart::sAlarm][ev];
            return a < 1e24 ? a : 0;
        }
        default: return novalue;
    }
}

void MapView::FitAll() {
    if (voyage_ == nullptr || voyage_->allbox.Empty()) return;
    // The own voyage, with a few kilometres around it; the vessels' reach only without one.
    const bool own = voyage_->own.size() > 0;
    view_ = TMercatorView::Fit(own ? voyage_->ownbox : voyage_->allbox, width(), height(), 24, own ? 3000 : 500);
    fitted_ = true;
    update();
}

void MapView::FitMarked() {
    if (voyage_ == nullptr) return;
    const MarkState& m = app_.marks;
    chart::TGeoBox box{1, 0, 1, 0};
    bool any = false;
    for (std::size_t i = 0; i < voyage_->own.size(); ++i) {
        const int row = voyage_->own.ix[i] + 1;
        if (!m.Inside(row)) continue;
        const double la = voyage_->own.lat[i], lo = voyage_->own.lng[i];
        if (!any) box = chart::TGeoBox{la, la, lo, lo};
        box.south = std::min(box.south, la);
        box.north = std::max(box.north, la);
        box.west = std::min(box.west, lo);
        box.east = std::max(box.east, lo);
        any = true;
    }
    if (!any) return;
    view_ = TMercatorView::Fit(box, width(), height(), 24);
    update();
}

void MapView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    view_.Resize(width(), height());
    if (!fitted_) FitAll();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Render(p, size());
}

void MapView::Render(QPainter& p, QSize size) {
    TMercatorView v = view_;
    if (size != QSize(view_.width(), view_.height())) {
        // An export of another size shows the same centre and scale.
        v.Resize(size.width(), size.height());
    }
    p.fillRect(QRect(QPoint(0, 0), size), style::kSea);
    if (voyage_ == nullptr) return;
    DrawCoast(p, v);
    DrawGraticule(p, v);
    DrawVessels(p, v);
    DrawTrack(p, v);
    if (const TEncounter* e = encounter()) DrawEncounter(p, v, *e);
    DrawCursor(p, v);
    DrawScaleBar(p, v);
    DrawLegend(p, size);
}

void MapView::DrawCoast(QPainter& p, const TMercatorView& v) {
    QElapsedTimer t;
    t.start();
    chart::TCoastline& coast = Coastline();
    if (!coast.Available()) {
        p.setPen(style::kText);
        p.drawText(QRect(8, 4, v.width() - 16, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("No coastline: the GSHHG files were not found in %1")
                       .arg(QString::fromStdString(coast.folder())));
        coastms_ = 0;
        return;
    }
    const char res = resolution_ != 0 ? resolution_ : chart::ResolutionForScale(v.ScaleDenominator());
    chart::TGeoBox box = v.Visible();
    const double centre = (box.west + box.east) / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);  // neighbouring bins meet without seams
    p.setPen(Qt::NoPen);
    const QTransform merc(v.k(), 0, 0, -v.k(), v.width() / 2.0 - v.cx() * v.k(), v.height() / 2.0 + v.cy() * v.k());
    for (const auto& bin : coast.BinsFor(box, res)) {
        const std::shared_ptr<CoastPaths> paths = PathsOf(res, *bin);
        // Bins run 0..360 east: shifted by a turn to lie beside the view's centre.
        double shift = 0;
        while (paths->westlng + paths->size / 2 + shift - centre > 180) shift -= 360;
        while (paths->westlng + paths->size / 2 + shift - centre < -180) shift += 360;
        QTransform tr = QTransform::fromTranslate(chart::MercX(shift), 0) * merc;
        p.setTransform(tr);
        for (int level = 0; level < 4; ++level) {
            if (paths->level[level].isEmpty()) continue;
            p.setBrush(level % 2 == 0 ? style::kLand : style::kSea);
            p.drawPath(paths->level[level]);
        }
    }
    p.restore();
    coastms_ = static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void MapView::DrawGraticule(QPainter& p, const TMercatorView& v) {
    const chart::TGeoBox box = v.Visible();
    TFormat f = app_.session.Format();
    const bool decimal = f.coordformat == 'D';
    const double latstep = chart::GraticuleStep(box.north - box.south, std::max(v.height() / 70, 2), decimal);
    const double lngstep = chart::GraticuleStep(box.east - box.west, std::max(v.width() / 120, 2), decimal);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont font = p.font();
    font.setPointSizeF(8);
    p.setFont(font);
    const QFontMetrics fm(font);
    for (const double lat : chart::GraticuleLines(box.south, box.north, latstep)) {
        const double y = v.ToScreenY(lat);
        p.setPen(QPen(style::kGraticule, 0));
        p.drawLine(QPointF(0, y), QPointF(v.width(), y));
        const QString label = ShortCoord(LogText(CoordText(f, false, lat)));
        const QRect r(3, static_cast<int>(y) - fm.height() - 1, fm.horizontalAdvance(label) + 4, fm.height());
        if (r.top() < 0) continue;
        p.fillRect(r, style::kLabelBack);
        p.setPen(style::kText);
        p.drawText(r, Qt::AlignCenter, label);
    }
    for (const double lng : chart::GraticuleLines(box.west, box.east, lngstep)) {
        const double x = v.ToScreenX(lng);
        p.setPen(QPen(style::kGraticule, 0));
        p.drawLine(QPointF(x, 0), QPointF(x, v.height()));
        double shown = std::remainder(lng, 360.0);
        const QString label = ShortCoord(LogText(CoordText(f, true, shown)));
        const QRect r(static_cast<int>(x) + 2, v.height() - fm.height() - 2, fm.horizontalAdvance(label) + 4, fm.height());
        if (r.right() > v.width()) continue;
        p.fillRect(r, style::kLabelBack);
        p.setPen(style::kText);
        p.drawText(r, Qt::AlignCenter, label);
    }
    p.restore();
}

void MapView::DrawScaleBar(QPainter& p, const TMercatorView& v) {
    const chart::TScaleBar bar = chart::ScaleBarStep(v.MetresPerPixel(), app_.session.settings.parms.hunits,
                                                     std::min(160.0, v.width() / 3.0));
    if (bar.pixels < 1) return;
    p.save();
    QFont font = p.font();
    font.setPointSizeF(8);
    p.setFont(font);
    const int x1 = v.width() - 12, x0 = x1 - static_cast<int>(std::lround(bar.pixels));
    const int y = v.height() - 26;
    p.fillRect(QRect(x0 - 4, y - 16, x1 - x0 + 8, 24), style::kLabelBack);
    p.setPen(QPen(style::kText, 2));
    p.drawLine(x0, y, x1, y);
    p.drawLine(x0, y - 4, x0, y + 4);
    p.drawLine(x1, y - 4, x1, y + 4);
    p.drawText(QRect(x0, y - 17, x1 - x0, 14), Qt::AlignCenter, QString::fromStdString(bar.label));
    p.restore();
}

void MapView::DrawTrack(QPainter& p, const TMercatorView& v) {
    const chart::TTrack& t = voyage_->own;
    if (t.size() == 0) return;
    const std::size_t n = t.size();
    std::vector<double> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = v.MercToScreenX(t.mx[i]);
        ys[i] = v.MercToScreenY(t.my[i]);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF screen(-20, -20, v.width() + 40, v.height() + 40);
    const MarkState& m = app_.marks;
    std::vector<std::size_t> starts{0};
    starts.insert(starts.end(), t.breaks.begin(), t.breaks.end());
    starts.push_back(n);
    const bool plain = colourby_ == ColourBy::Plain;
    std::array<QVector<QLineF>, kNoColour + 1> buckets;
    for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
        const std::size_t a = starts[s], b = starts[s + 1];
        if (b <= a) continue;
        const std::span<const double> sx(xs.data() + a, b - a), sy(ys.data() + a, b - a);
        const std::vector<std::uint32_t> keep = chart::DecimatePixels(sx, sy);
        if (m.markactive) {
            // The marked range under the track, wide in the marking colour.
            QPen halo(colours::kMarked.darker(115), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            p.setPen(halo);
            QPolygonF run;
            for (const std::uint32_t k : keep) {
                if (m.Inside(t.ix[a + k] + 1)) run << QPointF(sx[k], sy[k]);
                else if (!run.isEmpty()) {
                    DrawClipped(p, run, screen);
                    run.clear();
                }
            }
            if (run.size() > 1) DrawClipped(p, run, screen);
        }
        if (keep.size() == 1) {
            p.setPen(QPen(style::kTrack, 4, Qt::SolidLine, Qt::RoundCap));
            p.drawPoint(QPointF(sx[0], sy[0]));
            continue;
        }
        // The visible segments, gathered by colour: one pen and one call per colour.
        for (std::size_t k = 1; k < keep.size(); ++k) {
            const std::size_t i0 = a + keep[k - 1], i1 = a + keep[k];
            const QPointF p0(xs[i0], ys[i0]), p1(xs[i1], ys[i1]);
            if (!Meets(p0, p1, screen)) continue;
            const std::size_t c = plain || i0 >= colourix_.size() ? 0 : colourix_[i0];
            buckets[c].append(QLineF(p0, p1));
        }
    }
    if (encounter() != nullptr) {
        // With a closest approach shown, a white edge lifts the own track off the vessels'.
        p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const auto& bucket : buckets) p.drawLines(bucket);
    }
    for (std::size_t c = 0; c < buckets.size(); ++c) {
        if (buckets[c].isEmpty()) continue;
        const QColor colour = plain ? style::kTrack : c == kNoColour ? style::kNoValue : Ramp(c / 15.0);
        p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLines(buckets[c]);
    }
    // Events cut by an alarm stage.
    p.setPen(QPen(style::kAlarm, 1.6));
    p.setBrush(Qt::NoBrush);
    const auto& alarms = voyage_->series[chart::sAlarm];
    long long lx = -1000000, ly = -1000000;
    for (std::size_t i = 0; i < n; ++i) {
        if (!(alarms[static_cast<std::size_t>(t.ix[i])] < 1e24)) continue;
        const long long px = std::llround(xs[i]), py = std::llround(ys[i]);
        if (std::llabs(px - lx) < 3 && std::llabs(py - ly) < 3) continue;
        if (px < -10 || py < -10 || px > v.width() + 10 || py > v.height() + 10) continue;
        p.drawEllipse(QPointF(xs[i], ys[i]), 4.5, 4.5);
        lx = px;
        ly = py;
    }
    p.restore();
}

void MapView::DrawVessels(QPainter& p, const TMercatorView& v) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font = p.font();
    font.setPointSizeF(7.5);
    p.setFont(font);
    const QRectF screen(-20, -20, v.width() + 40, v.height() + 40);
    std::vector<QRectF> taken;
    const QFontMetricsF fm(font);
    const TEncounter* chosen = encounter();
    // The chosen vessel last, over the others.
    std::vector<std::size_t> order;
    order.reserve(voyage_->vessels.size());
    for (std::size_t vi = 0; vi < voyage_->vessels.size(); ++vi)
        if (chosen == nullptr || voyage_->vessels[vi].mmsi != chosen->id) order.push_back(vi);
    for (std::size_t vi = 0; vi < voyage_->vessels.size(); ++vi)
        if (chosen != nullptr && voyage_->vessels[vi].mmsi == chosen->id) order.push_back(vi);
    for (const std::size_t vi : order) {
        const chart::TVesselTrack& vt = voyage_->vessels[vi];
        const bool lit = chosen != nullptr && vt.mmsi == chosen->id;
        const chart::TTrack& t = vt.track;
        const std::size_t n = t.size();
        if (n == 0) continue;
        std::vector<double> xs(n), ys(n);
        for (std::size_t i = 0; i < n; ++i) {
            xs[i] = v.MercToScreenX(t.mx[i]);
            ys[i] = v.MercToScreenY(t.my[i]);
        }
        p.setPen(lit ? QPen(style::kEncounter, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : QPen(style::kVessel, 1));
        std::vector<std::size_t> starts{0};
        starts.insert(starts.end(), t.breaks.begin(), t.breaks.end());
        starts.push_back(n);
        for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
            const std::size_t a = starts[s], b = starts[s + 1];
            if (b <= a + 1) continue;
            const std::span<const double> sx(xs.data() + a, b - a), sy(ys.data() + a, b - a);
            QPolygonF line;
            for (const std::uint32_t k : chart::DecimatePixels(sx, sy)) line << QPointF(sx[k], sy[k]);
            DrawClipped(p, line, screen);
        }
        const QPointF last(xs[n - 1], ys[n - 1]);
        if (!screen.contains(last)) continue;
        // The last position: a small triangle pointing along the course.
        p.save();
        p.translate(last);
        if (vt.course < 360) p.rotate(vt.course);
        p.setPen(QPen((lit ? style::kEncounter : style::kVessel).darker(130), 1));
        p.setBrush(lit ? style::kEncounter : style::kVesselFill);
        p.drawPolygon(QPolygonF({QPointF(0, -7), QPointF(4.5, 5), QPointF(-4.5, 5)}));
        p.restore();
        if (vi < labels_.size() && taken.size() < 200) {
            // A label over another is left out: the triangle stays, the tooltip names it.
            const QRectF r(last + QPointF(7, 4 - fm.ascent()), QSizeF(fm.horizontalAdvance(labels_[vi]), fm.height()));
            if (std::none_of(taken.begin(), taken.end(), [&](const QRectF& other) { return other.intersects(r); })) {
                taken.push_back(r.adjusted(-2, -1, 2, 1));
                p.setPen(style::kText);
                p.drawText(last + QPointF(7, 4), labels_[vi]);
            }
        }
    }
    p.restore();
}

void MapView::DrawCursor(QPainter& p, const TMercatorView& v) {
    const int ev = cursor_.current();
    if (ev < 0 || static_cast<std::size_t>(ev) >= ownpoint_.size()) return;
    int pt = ownpoint_[static_cast<std::size_t>(ev)];
    if (pt < 0) {
        // An event without a position: the last position before it.
        for (int e = ev; e >= 0 && pt < 0; --e) pt = ownpoint_[static_cast<std::size_t>(e)];
        if (pt < 0) return;
    }
    const QPointF at(v.MercToScreenX(voyage_->own.mx[static_cast<std::size_t>(pt)]),
                     v.MercToScreenY(voyage_->own.my[static_cast<std::size_t>(pt)]));
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(at, 7, 7);
    p.setPen(QPen(style::kCursor, 2));
    p.drawEllipse(at, 7, 7);
    p.drawLine(at + QPointF(-12, 0), at + QPointF(-4, 0));
    p.drawLine(at + QPointF(4, 0), at + QPointF(12, 0));
    p.drawLine(at + QPointF(0, -12), at + QPointF(0, -4));
    p.drawLine(at + QPointF(0, 4), at + QPointF(0, 12));
    p.restore();
}

void MapView::SetEncounter(const TEncounter& e) {
    encounter_ = e;
    hasencounter_ = true;
    ShowBoth(e);
    update();
}

const TEncounter* MapView::encounter() const {
    if (!hasencounter_) return nullptr;
    const Session& s = app_.session;
    // Another vessel chosen in the AIS grid or on the map (or none) ends it.
    if (s.aisselection.empty()) return nullptr;
    const std::int32_t first = s.aisselection.front();
    if (first < 0 || first >= s.aisevents.count() || s.aisevents[first].id != encounter_.id) return nullptr;
    return &encounter_;
}

void MapView::ShowBoth(const TEncounter& e) {
    const double ax = view_.ToScreenX(e.own.lng), ay = view_.ToScreenY(e.own.lat);
    const double bx = view_.ToScreenX(e.other.lng), by = view_.ToScreenY(e.other.lat);
    constexpr double margin = 48;  // room for the label and the cursor's cross
    const QRectF inner(margin, margin, width() - 2 * margin, height() - 2 * margin);
    if (inner.contains(QPointF(ax, ay)) && inner.contains(QPointF(bx, by))) return;
    if (std::abs(ax - bx) < inner.width() && std::abs(ay - by) < inner.height()) {
        // Both fit at this scale: the pair moved to the middle.
        view_.Pan(width() / 2.0 - (ax + bx) / 2, height() / 2.0 - (ay + by) / 2);
        return;
    }
    const chart::TGeoBox box{std::min(e.own.lat, e.other.lat), std::max(e.own.lat, e.other.lat),
                             std::min(e.own.lng, e.other.lng), std::max(e.own.lng, e.other.lng)};
    view_ = TMercatorView::Fit(box, width(), height(), static_cast<int>(margin) + 24);
    fitted_ = true;
}

void MapView::DrawEncounter(QPainter& p, const TMercatorView& v, const TEncounter& e) {
    const QPointF a(v.ToScreenX(e.own.lng), v.ToScreenY(e.own.lat));
    const QPointF b(v.ToScreenX(e.other.lng), v.ToScreenY(e.other.lat));
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.setPen(QPen(style::kEncounter, 2, Qt::DashLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(style::kEncounter);
    p.drawEllipse(a, 4, 4);
    p.drawEllipse(b, 4, 4);
    // The distance and the time, beside the middle of the line, kept on the screen.
    const TFormat f = app_.session.Format();
    // Times counted from the first event are seconds, not a time of day.
    const QString when = f.dateformat == 'N' ? LogText(TimeText(f, e.when)).trimmed() + QStringLiteral(" s")
                                             : LogText(TimeText(f, e.when)) + QStringLiteral(" UTC");
    const QString text = QStringLiteral("%1 %2  %3")
                             .arg(LogText(DistText(f, e.dist)).trimmed(),
                                  QString::fromStdString(std::string(DistUnit(app_.session.settings.parms.hunits))), when);
    QFont font = p.font();
    font.setPointSizeF(8.5);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics fm(font);
    const QPointF mid = (a + b) / 2;
    // Clear of the whole line and of the cursor's cross at its ends: above the line when it
    // lies flat, beside it when it stands, on the other side when the edge is in the way.
    const bool steep = std::abs(b.y() - a.y()) > std::abs(b.x() - a.x());
    constexpr double gap = 14;
    QRectF r(0, 0, fm.horizontalAdvance(text) + 10, fm.height() + 4);
    r.moveCenter(mid);
    if (steep) {
        r.moveLeft(std::max(a.x(), b.x()) + gap);
        if (r.right() > v.width() - 4) r.moveRight(std::min(a.x(), b.x()) - gap);
    } else {
        r.moveBottom(std::min(a.y(), b.y()) - gap);
        if (r.top() < 4) r.moveTop(std::max(a.y(), b.y()) + gap);
    }
    r.moveLeft(std::clamp(r.left(), 4.0, std::max(4.0, v.width() - r.width() - 4)));
    r.moveTop(std::clamp(r.top(), 4.0, std::max(4.0, v.height() - r.height() - 4)));
    p.setPen(QPen(style::kEncounter, 1));
    p.setBrush(style::kLabelBack);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(style::kText);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

void MapView::DrawLegend(QPainter& p, QSize size) {
    if (colourby_ == ColourBy::Plain || voyage_->own.size() == 0) return;
    const Tparms& parms = app_.session.settings.parms;
    const TFormat f = app_.session.Format();
    auto text = [&](double x) -> QString {
        switch (colourby_) {
            case ColourBy::Speed:
                return QString::fromStdString(SpeedText(f, x)).trimmed() + ' ' + QString::fromStdString(std::string(SpeedUnit(parms.hunits)));
            case ColourBy::Depth: return QString::fromStdString(VertText(f, x)).trimmed() + QStringLiteral(" ") + QChar(parms.vunits == 'F' ? 'f' : parms.vunits == 'T' ? 'F' : 'm');
            case ColourBy::Time: return LogText(TimeText(f, x / 86400));
            default: return QString::number(x, 'f', 0);
        }
    };
    const QString title = colourby_ == ColourBy::Speed ? QStringLiteral("Speed")
                          : colourby_ == ColourBy::Depth ? QStringLiteral("Depth")
                          : colourby_ == ColourBy::Time ? QStringLiteral("Time (UTC)")
                                                        : QStringLiteral("Alarm stage");
    p.save();
    QFont font = p.font();
    font.setPointSizeF(8);
    p.setFont(font);
    const QFontMetrics fm(font);
    const QString lo = text(vmin_), hi = text(vmax_);
    const int w = std::max({fm.horizontalAdvance(title), fm.horizontalAdvance(lo), fm.horizontalAdvance(hi)}) + 36;
    const QRect box(size.width() - w - 10, 8, w, fm.height() * 3 + 14);
    p.fillRect(box, style::kLabelBack);
    p.setPen(style::kText);
    p.drawText(box.adjusted(6, 3, -4, 0), Qt::AlignLeft | Qt::AlignTop, title);
    const int bary = box.top() + fm.height() + 6, barh = fm.height() * 2;
    for (int i = 0; i < barh; ++i) p.fillRect(QRect(box.left() + 6, bary + i, 14, 1), Ramp(1 - static_cast<double>(i) / barh));
    p.drawText(QRect(box.left() + 24, bary - 2, w - 26, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, hi);
    p.drawText(QRect(box.left() + 24, bary + barh - fm.height() + 2, w - 26, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, lo);
    p.restore();
}

void MapView::wheelEvent(QWheelEvent* e) {
    const double steps = e->angleDelta().y() / 120.0;
    if (steps == 0) return;
    view_.ZoomAbout(std::pow(1.25, steps), e->position().x(), e->position().y());
    update();
    e->accept();
}

void MapView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    press_ = last_ = e->pos();
    dragging_ = false;
    setFocus();
}

void MapView::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    if (!dragging_ && (e->pos() - press_).manhattanLength() < 4) return;
    dragging_ = true;
    view_.Pan(e->pos().x() - last_.x(), e->pos().y() - last_.y());
    last_ = e->pos();
    update();
}

void MapView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(e);
    if (!dragging_) Pick(e->pos());
    dragging_ = false;
}

void MapView::Pick(QPoint at) {
    if (voyage_ == nullptr) return;
    const std::ptrdiff_t own = chart::NearestOnScreen(voyage_->own, view_, at.x(), at.y(), 12);
    double owndist = 1e9;
    if (own >= 0)
        owndist = std::hypot(view_.MercToScreenX(voyage_->own.mx[static_cast<std::size_t>(own)]) - at.x(),
                             view_.MercToScreenY(voyage_->own.my[static_cast<std::size_t>(own)]) - at.y());
    // An AIS track nearer than the own track picks its vessel.
    for (const chart::TVesselTrack& vt : voyage_->vessels) {
        const std::ptrdiff_t k = chart::NearestOnScreen(vt.track, view_, at.x(), at.y(), 6);
        if (k < 0) continue;
        const double d = std::hypot(view_.MercToScreenX(vt.track.mx[static_cast<std::size_t>(k)]) - at.x(),
                                    view_.MercToScreenY(vt.track.my[static_cast<std::size_t>(k)]) - at.y());
        if (d < owndist) {
            emit vesselClicked(vt.mmsi);
            return;
        }
    }
    if (own >= 0) cursor_.setEvent(voyage_->own.ix[static_cast<std::size_t>(own)]);
}

QString MapView::HoverText(QPoint at) const {
    if (voyage_ == nullptr) return {};
    const std::ptrdiff_t k = chart::NearestOnScreen(voyage_->own, view_, at.x(), at.y(), 12);
    if (k < 0) return {};
    const int ev = voyage_->own.ix[static_cast<std::size_t>(k)];
    const Session& s = app_.session;
    const TFormat f = s.Format();
    const TEvent& e = s.events[ev];
    QStringList lines;
    lines << QStringLiteral("Event %1, %2 %3 UTC").arg(ev + 1).arg(LogText(DateText(f, e.dts)), LogText(TimeText(f, e.dts)));
    lines << LogText(CoordText(f, false, e.coord.lat)).trimmed() + QStringLiteral("  ") + LogText(CoordText(f, true, e.coord.lng)).trimmed();
    const std::string unit(SpeedUnit(s.settings.parms.hunits));
    if (HasData(e.speed)) lines << QStringLiteral("Speed %1 %2").arg(LogText(SpeedText(f, e.speed)).trimmed(), QString::fromStdString(unit));
    if (HasData(e.depth)) lines << QStringLiteral("Depth %1").arg(LogText(VertText(f, e.depth)).trimmed());
    if (HasData(e.heading)) lines << QStringLiteral("Heading %1").arg(LogText(HeadingText(f, e.heading)).trimmed());
    if (HasData(e.windspeed)) lines << QStringLiteral("Wind %1 %2").arg(LogText(SpeedText(f, e.windspeed)).trimmed(), QString::fromStdString(unit));
    if (!e.bwalarm.empty()) lines << QStringLiteral("Alarms %1").arg(LogText(e.bwalarm.substr(0, 60)));
    return lines.join('\n');
}

bool MapView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString text = HoverText(help->pos());
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(e);
}

}  // namespace brenvik::ui

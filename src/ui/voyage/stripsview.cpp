#include "voyage/stripsview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "appstate.h"
#include "logtext.h"
#include "model/units.h"
#include "present/valuetext.h"
#include "voyage/timecursor.h"
#include "voyage/voyagestyle.h"

namespace brenvik::ui {
namespace {

constexpr int kLeft = 62;    // room for the value labels
constexpr int kRight = 10;
constexpr int kAxis = 22;    // the time axis below the strips
constexpr int kGapY = 4;

// A round step of time (seconds) that puts at most n labels across span seconds.
double TimeStep(double span, int n) {
    static constexpr double steps[] = {1,    2,    5,    10,    15,    30,    60,    120,   300,   600,
                                       900,  1800, 3600, 7200,  10800, 21600, 43200, 86400, 172800, 604800};
    for (const double s : steps)
        if (span / s <= n) return s;
    return 604800;
}

}  // namespace

StripsView::StripsView(AppState& app, TimeCursor& cursor, QWidget* parent)
    : QWidget(parent), app_(app), cursor_(cursor), mark_(new QPushButton(QStringLiteral("Mark this span"), this)) {
    setObjectName(QStringLiteral("VoyageStrips"));
    setMinimumHeight(120);
    setFocusPolicy(Qt::StrongFocus);
    mark_->hide();
    connect(&cursor_, &TimeCursor::changed, this, qOverload<>(&QWidget::update));
    connect(mark_, &QPushButton::clicked, this, [this] {
        if (voyage_ == nullptr) return;
        int first = -1, last = -1;
        for (const std::int32_t ev : voyage_->timed) {
            const double t = voyage_->secs[static_cast<std::size_t>(ev)];
            if (t < st0_ || t > st1_) continue;
            if (first < 0) first = ev;
            last = ev;
        }
        if (first >= 0) emit markSpanWanted(first, last);
    });
}

void StripsView::SetVoyage(const chart::TVoyage* v) {
    voyage_ = v;
    lines_.clear();
    shown_.clear();
    span_ = false;
    mark_->hide();
    if (v != nullptr) {
        std::vector<int> stretchof(v->secs.size(), 0);
        {
            int s = 0;
            std::size_t b = 0;
            for (const std::int32_t ev : v->timed) {
                while (b < v->timebreaks.size() && v->timebreaks[b] <= static_cast<std::size_t>(ev)) {
                    ++s;
                    ++b;
                }
                stretchof[static_cast<std::size_t>(ev)] = s;
            }
        }
        for (int series = 0; series < chart::kSeriesCount; ++series) {
            if (!v->hasseries[static_cast<std::size_t>(series)]) continue;
            Line line;
            line.series = series;
            for (const std::int32_t ev : v->timed) {
                const double x = v->series[series][static_cast<std::size_t>(ev)];
                if (!(x < 1e24)) continue;
                line.secs.push_back(v->secs[static_cast<std::size_t>(ev)]);
                line.vals.push_back(ValueOf(series, x));
                line.stretch.push_back(stretchof[static_cast<std::size_t>(ev)]);
                line.ev.push_back(ev);
            }
            if (chart::IsAngleSeries(series) && series != chart::sRudder) line.vals = chart::UnwrapAngles(line.vals);
            if (line.secs.empty()) continue;
            shown_.push_back(series);
            lines_.push_back(std::move(line));
        }
    }
    // Room for every strip: about 40 pixels each.
    setMinimumHeight(std::max(120, static_cast<int>(shown_.size()) * 40 + kAxis));
    ResetZoom();
}

double StripsView::ValueOf(int series, double x) const {
    const Tparms& p = app_.session.settings.parms;
    switch (series) {
        case chart::sSpeed:
        case chart::sWaterSpeed:
        case chart::sWindSpeed: return FromMps(p.hunits, x);
        case chart::sDepth: return FromMetresVert(p.vunits, x);
        case chart::sRudder: return std::remainder(x, 360.0);  // port and starboard about zero
        default: return x;
    }
}

QString StripsView::Title(int series) const {
    static const char* const titles[] = {"Speed over ground", "Speed through water", "Depth", "Wind speed",
                                         "Wind angle", "Heading", "Rudder", "Rate of turn", "Alarm stage"};
    return QString::fromLatin1(titles[series]);
}

QString StripsView::Unit(int series) const {
    const Tparms& p = app_.session.settings.parms;
    switch (series) {
        case chart::sSpeed:
        case chart::sWaterSpeed:
        case chart::sWindSpeed: return QString::fromLatin1(SpeedUnit(p.hunits).data(), static_cast<int>(SpeedUnit(p.hunits).size()));
        case chart::sDepth: return p.vunits == 'F' ? QStringLiteral("ft") : p.vunits == 'T' ? QStringLiteral("fathoms") : QStringLiteral("m");
        case chart::sWindAngle:
        case chart::sHeading:
        case chart::sRudder: return QStringLiteral("°");
        case chart::sRot: return QStringLiteral("°/min");
        default: return QString();
    }
}

void StripsView::ResetZoom() {
    if (voyage_ != nullptr && voyage_->HasTimes()) SetTimeSpan(voyage_->t0, voyage_->t1);
    else SetTimeSpan(0, 1);
}

void StripsView::SetTimeSpan(double t0, double t1) {
    if (t1 < t0) std::swap(t0, t1);
    if (t1 - t0 < 1) t1 = t0 + 1;
    vt0_ = t0;
    vt1_ = t1;
    update();
}

double StripsView::XOf(double secs) const {
    const int w = width() - kLeft - kRight;
    return kLeft + (secs - vt0_) / (vt1_ - vt0_) * w;
}

double StripsView::TimeAt(double x, int w) const {
    const int plot = std::max(w - kLeft - kRight, 1);
    return vt0_ + (x - kLeft) / plot * (vt1_ - vt0_);
}

QRect StripsView::StripRect(int k) const {
    const int n = std::max(static_cast<int>(shown_.size()), 1);
    const int h = std::max((height() - kAxis) / n, 1);
    return QRect(0, k * h, width(), h - kGapY);
}

void StripsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Render(p, size());
}

void StripsView::Render(QPainter& p, QSize size) {
    p.fillRect(QRect(QPoint(0, 0), size), palette().window());
    if (voyage_ == nullptr || lines_.empty()) return;
    const int n = static_cast<int>(lines_.size());
    const int h = std::max((size.height() - kAxis) / n, 1);
    const int plotleft = kLeft, plotright = size.width() - kRight;
    QFont font = p.font();
    font.setPointSizeF(8);
    p.setFont(font);
    for (int k = 0; k < n; ++k) DrawStrip(p, lines_[static_cast<std::size_t>(k)], QRect(0, k * h, size.width(), h - kGapY), plotleft, plotright);
    DrawAxis(p, QRect(0, n * h, size.width(), kAxis), plotleft, plotright);

    const double scale = (plotright - plotleft) / (vt1_ - vt0_);
    auto xof = [&](double t) { return plotleft + (t - vt0_) * scale; };
    if (pressing_ && moved_) {
        const int a = std::min(pressx_, curx_), b = std::max(pressx_, curx_);
        p.fillRect(QRect(a, 0, b - a, n * h), shiftdrag_ ? style::kSpan : QColor(0, 0, 0, 30));
    }
    if (span_) {
        const double a = xof(st0_), b = xof(st1_);
        p.fillRect(QRectF(a, 0, b - a, n * h), style::kSpan);
    }
    const int ev = cursor_.current();
    if (ev >= 0 && static_cast<std::size_t>(ev) < voyage_->secs.size() && voyage_->secs[static_cast<std::size_t>(ev)] < 1e24) {
        const double x = xof(voyage_->secs[static_cast<std::size_t>(ev)]);
        if (x >= plotleft && x <= plotright) {
            p.setPen(QPen(style::kCursor, 1.5));
            p.drawLine(QPointF(x, 0), QPointF(x, n * h));
        }
    }
    if (span_) {
        const QString text = SpanText();
        const QFontMetrics fm(p.font());
        const QRect box = fm.boundingRect(QRect(0, 0, 600, 400), Qt::AlignLeft, text).adjusted(-6, -4, 6, 4);
        QRect at = box.translated(plotleft + 8 - box.left(), 6 - box.top());
        p.fillRect(at, QColor(255, 255, 255, 230));
        p.setPen(style::kText);
        p.drawRect(at.adjusted(0, 0, -1, -1));
        p.drawText(at.adjusted(6, 4, -6, -4), Qt::AlignLeft, text);
    }
}

void StripsView::DrawStrip(QPainter& p, const Line& line, QRect r, int plotleft, int plotright) {
    const QRect plot(plotleft, r.top() + 2, plotright - plotleft, r.height() - 4);
    p.fillRect(plot, style::kStripBack);
    const int width = plot.width();
    const double scale = width / (vt1_ - vt0_);
    // Columns of the visible samples, per gap stretch.
    auto lo = std::lower_bound(line.secs.begin(), line.secs.end(), vt0_ - (vt1_ - vt0_) / width);
    auto hi = std::upper_bound(line.secs.begin(), line.secs.end(), vt1_ + (vt1_ - vt0_) / width);
    const std::size_t a = static_cast<std::size_t>(lo - line.secs.begin()), b = static_cast<std::size_t>(hi - line.secs.begin());
    std::vector<double> xs;
    xs.reserve(b - a);
    for (std::size_t i = a; i < b; ++i) xs.push_back((line.secs[i] - vt0_) * scale);
    double vmin = 1e300, vmax = -1e300;
    struct Run {
        std::size_t a, b;
    };
    std::vector<Run> runs;
    for (std::size_t i = a; i < b; ++i) {
        if (runs.empty() || i == a || line.stretch[i] != line.stretch[i - 1]) runs.push_back({i, i + 1});
        else runs.back().b = i + 1;
    }
    std::vector<std::vector<chart::TColumn>> cols;
    for (const Run& run : runs) {
        cols.push_back(chart::DecimateColumns(std::span<const double>(xs.data() + (run.a - a), run.b - run.a),
                                              std::span<const double>(line.vals.data() + run.a, run.b - run.a), width));
        for (const chart::TColumn& c : cols.back()) {
            vmin = std::min(vmin, c.min);
            vmax = std::max(vmax, c.max);
        }
    }
    const bool step = line.series == chart::sAlarm;
    if (step && a > 0 && a - 1 < line.vals.size()) {
        vmin = std::min(vmin, line.vals[a - 1]);
        vmax = std::max(vmax, line.vals[a - 1]);
    }
    if (vmin > vmax) vmin = vmax = 0;
    if (step) {
        vmin = std::min(vmin, 0.0);
        vmax = std::max(vmax, 1.0);
    }
    if (vmax - vmin < 1e-9) {
        vmin -= 1;
        vmax += 1;
    }
    const double pad = (vmax - vmin) * 0.06;
    vmin -= pad;
    vmax += pad;
    auto yof = [&](double v) { return plot.bottom() - (v - vmin) / (vmax - vmin) * plot.height(); };
    p.save();
    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(step ? style::kAlarm : style::kStripLine, 1.3));
    // The samples just outside the view, in the same stretch, carry the line to its edges.
    const bool before = a > 0 && a < line.secs.size() && line.stretch[a - 1] == line.stretch[a];
    const bool after = b < line.secs.size() && b > 0 && line.stretch[b] == line.stretch[b - 1];
    // The line between samples i and i + 1 where it crosses the time t (a step holds i's value).
    auto at = [&](std::size_t i, double t, double x) {
        double val = line.vals[i];
        if (!step && i + 1 < line.secs.size() && line.secs[i + 1] > line.secs[i])
            val += (line.vals[i + 1] - val) * std::clamp((t - line.secs[i]) / (line.secs[i + 1] - line.secs[i]), 0.0, 1.0);
        return QPointF(x, yof(std::clamp(val, vmin, vmax)));
    };
    for (std::size_t ri = 0; ri < cols.size(); ++ri) {
        const auto& c = cols[ri];
        QPolygonF poly;
        double prev = 0;
        if (ri == 0 && before && !c.empty()) {
            poly << at(a - 1, vt0_, plot.left());
            prev = line.vals[a - 1];
        }
        for (const chart::TColumn& col : c) {
            const double x = plot.left() + col.col + 0.5;
            if (step && !poly.isEmpty()) poly << QPointF(x, yof(prev));
            poly << QPointF(x, yof(col.first)) << QPointF(x, yof(col.min)) << QPointF(x, yof(col.max)) << QPointF(x, yof(col.last));
            prev = col.last;
        }
        if (ri + 1 == cols.size() && after && !poly.isEmpty()) {
            if (step) poly << QPointF(plot.right(), yof(prev));
            else poly << at(b - 1, vt1_, plot.right());
        }
        if (poly.size() == 4 && c.size() == 1) p.drawLine(poly[1] + QPointF(-1, 0), poly[2] + QPointF(1, 0));
        p.drawPolyline(poly);
    }
    // No sample in view, but the line passes through it.
    if (cols.empty() && a == b && a > 0 && a < line.secs.size() && line.stretch[a - 1] == line.stretch[a]) {
        p.drawLine(at(a - 1, vt0_, plot.left()), at(a - 1, vt1_, plot.right()));
    }
    p.restore();
    // Title, unit and the value range.
    p.setPen(style::kText);
    const QString unit = Unit(line.series);
    const QString title = unit.isEmpty() ? Title(line.series) : Title(line.series) + QStringLiteral(" (") + unit + ')';
    const QFontMetrics fm(p.font());
    p.fillRect(QRect(plot.left() + 2, plot.top() + 1, fm.horizontalAdvance(title) + 6, fm.height()), QColor(252, 252, 252, 210));
    p.drawText(QRect(plot.left() + 4, plot.top() + 1, plot.width() - 8, fm.height()), Qt::AlignLeft | Qt::AlignTop, title);
    const int decimals = vmax - vmin > 50 ? 0 : 1;
    TFormat f = app_.session.Format();
    // Unwrapped angles are labelled within the turn: 380 reads 20.
    auto label = [&](double x) {
        if (chart::IsAngleSeries(line.series) && line.series != chart::sRudder) x = std::fmod(std::fmod(x, 360.0) + 360, 360.0);
        return QString::fromStdString(FixedText(f, x, 1, decimals));
    };
    p.drawText(QRect(0, plot.top(), plotleft - 4, fm.height()), Qt::AlignRight | Qt::AlignTop, label(vmax - pad));
    if (plot.height() >= 2 * fm.height())
        p.drawText(QRect(0, plot.bottom() - fm.height() + 1, plotleft - 4, fm.height()), Qt::AlignRight | Qt::AlignBottom, label(vmin + pad));
}

void StripsView::DrawAxis(QPainter& p, QRect r, int plotleft, int plotright) {
    const double span = vt1_ - vt0_;
    const double step = TimeStep(span, std::max((plotright - plotleft) / 90, 2));
    const TFormat f = app_.session.Format();
    p.setPen(style::kText);
    p.drawLine(plotleft, r.top() + 1, plotright, r.top() + 1);
    const double scale = (plotright - plotleft) / span;
    for (double t = std::ceil(vt0_ / step) * step; t <= vt1_; t += step) {
        const double x = plotleft + (t - vt0_) * scale;
        p.drawLine(QPointF(x, r.top() + 1), QPointF(x, r.top() + 5));
        QString label = LogText(TimeText(f, t / 86400));
        if (step < 60 && label.size() > 8) label = label.left(8);
        if (x - 30 < plotleft) continue;  // clear of the "UTC" at the left
        p.drawText(QRectF(x - 40, r.top() + 5, 80, 15), Qt::AlignHCenter | Qt::AlignTop, step >= 60 && label.size() >= 8 ? label.left(5) : label);
    }
    p.drawText(QRect(0, r.top() + 5, plotleft - 4, 15), Qt::AlignRight | Qt::AlignTop, QStringLiteral("UTC"));
}

QString StripsView::SpanText() const {
    QStringList out;
    const TFormat f = app_.session.Format();
    std::vector<double> secs;
    std::vector<TCoord> coords;
    for (const Line& line : lines_) {
        const chart::TSpanStats s = chart::SpanStats(line.secs, line.vals, {}, st0_, st1_);
        if (s.count == 0) continue;
        const int dec = line.series == chart::sAlarm ? 0 : 2;
        const QString unit = Unit(line.series);
        out << QStringLiteral("%1: min %2, max %3, mean %4 %5")
                   .arg(Title(line.series), QString::fromStdString(FixedText(f, s.min, 1, dec)),
                        QString::fromStdString(FixedText(f, s.max, 1, dec)), QString::fromStdString(FixedText(f, s.mean, 1, dec)), unit)
                   .trimmed();
    }
    // Distance along the own track, duration over the events inside.
    const chart::TTrack& t = voyage_->own;
    std::vector<TCoord> pos;
    for (std::size_t i = 0; i < t.size(); ++i) pos.push_back(TCoord{t.lat[i], t.lng[i]});
    const chart::TSpanStats d = chart::SpanStats(t.secs, {}, pos, st0_, st1_);
    std::vector<double> tsecs;
    for (const std::int32_t ev : voyage_->timed) tsecs.push_back(voyage_->secs[static_cast<std::size_t>(ev)]);
    const chart::TSpanStats all = chart::SpanStats(tsecs, {}, {}, st0_, st1_);
    const long long dur = std::llround(all.duration);
    out << QStringLiteral("Distance run %1 %2, duration %3:%4:%5")
               .arg(QString::fromStdString(FixedText(f, FromMetres(app_.session.settings.parms.hunits, d.distance), 1, 2)),
                    QString::fromLatin1(DistUnit(app_.session.settings.parms.hunits).data(), static_cast<int>(DistUnit(app_.session.settings.parms.hunits).size())))
               .arg(dur / 3600, 2, 10, QChar('0'))
               .arg(dur / 60 % 60, 2, 10, QChar('0'))
               .arg(dur % 60, 2, 10, QChar('0'));
    return out.join('\n');
}

void StripsView::PlaceButton() {
    if (!span_) {
        mark_->hide();
        return;
    }
    mark_->adjustSize();
    const QFontMetrics fm(font());
    const QString text = SpanText();
    QFont f = font();
    f.setPointSizeF(8);
    const QRect box = QFontMetrics(f).boundingRect(QRect(0, 0, 600, 400), Qt::AlignLeft, text);
    mark_->move(kLeft + 8, box.height() + 20);
    mark_->show();
    mark_->raise();
}

void StripsView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    PlaceButton();
}

void StripsView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    setFocus();
    pressing_ = true;
    moved_ = false;
    shiftdrag_ = e->modifiers() & Qt::ShiftModifier;
    pressx_ = curx_ = e->pos().x();
}

void StripsView::mouseMoveEvent(QMouseEvent* e) {
    if (!pressing_) return;
    curx_ = e->pos().x();
    if (std::abs(curx_ - pressx_) >= 4) moved_ = true;
    update();
}

void StripsView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressing_) return QWidget::mouseReleaseEvent(e);
    pressing_ = false;
    curx_ = e->pos().x();
    if (voyage_ == nullptr) return;
    if (!moved_) {
        const std::ptrdiff_t k = chart::NearestInTime(*voyage_, TimeAt(curx_, width()));
        if (k >= 0) cursor_.setEvent(voyage_->timed[static_cast<std::size_t>(k)]);
        update();
        return;
    }
    const double a = TimeAt(std::min(pressx_, curx_), width()), b = TimeAt(std::max(pressx_, curx_), width());
    if (shiftdrag_) {
        span_ = true;
        st0_ = a;
        st1_ = b;
        PlaceButton();
    } else {
        span_ = false;
        PlaceButton();
        SetTimeSpan(a, b);
    }
    update();
}

void StripsView::mouseDoubleClickEvent(QMouseEvent*) {
    span_ = false;
    PlaceButton();
    ResetZoom();
}

}  // namespace brenvik::ui

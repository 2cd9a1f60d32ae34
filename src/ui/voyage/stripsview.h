#pragma once
// The instrument strips: one time plot per field with data, stacked on one time axis, values
// in the display units, angles unwrapped, gaps left open. Drag zooms every strip to a span,
// double-click shows all again, shift-drag selects a span and shows what it held; a click
// picks the event nearest in time.
#include <QWidget>

#include <vector>

#include "chart/series.h"
#include "chart/voyage.h"

class QPainter;
class QPushButton;

namespace brenvik::ui {

struct AppState;
class TimeCursor;

class StripsView : public QWidget {
    Q_OBJECT
public:
    StripsView(AppState& app, TimeCursor& cursor, QWidget* parent = nullptr);

    void SetVoyage(const chart::TVoyage* v);
    // The series shown, top to bottom.
    const std::vector<int>& shown() const { return shown_; }
    double viewStart() const { return vt0_; }
    double viewEnd() const { return vt1_; }
    void SetTimeSpan(double t0, double t1);
    void ResetZoom();
    void Render(QPainter& p, QSize size);
    // The screen x of a time, and the strip rectangle of shown series k, for this widget.
    double XOf(double secs) const;
    QRect StripRect(int k) const;
    bool spanShown() const { return span_; }
    QPushButton* markSpanButton() const { return mark_; }

signals:
    // "Mark this span": the events inside the selected span, first and last (0-based).
    void markSpanWanted(int firstev, int lastev);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    struct Line {
        int series = 0;
        std::vector<double> secs, vals;  // display units
        std::vector<int> stretch;        // gap stretch of each sample
        std::vector<int> ev;
    };
    double TimeAt(double x, int width) const;
    double ValueOf(int series, double internal) const;
    QString Title(int series) const;
    QString Unit(int series) const;
    void DrawStrip(QPainter& p, const Line& line, QRect r, int plotleft, int plotright);
    void DrawAxis(QPainter& p, QRect r, int plotleft, int plotright);
    QString SpanText() const;
    void PlaceButton();

    AppState& app_;
    TimeCursor& cursor_;
    const chart::TVoyage* voyage_ = nullptr;
    std::vector<Line> lines_;
    std::vector<int> shown_;
    double vt0_ = 0, vt1_ = 1;
    bool pressing_ = false, shiftdrag_ = false, moved_ = false;
    int pressx_ = 0, curx_ = 0;
    bool span_ = false;
    double st0_ = 0, st1_ = 0;
    QPushButton* mark_;
};

}  // namespace brenvik::ui

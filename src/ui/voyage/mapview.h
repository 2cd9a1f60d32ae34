#pragma once
// The voyage map: sea, GSHHG land, graticule, scale bar, the own track coloured by a field with
// its gaps left open, alarm events, the marked range, AIS vessel tracks, the time cursor and a
// chosen closest approach.
// Wheel zooms about the pointer, drag pans, a click picks the nearest event or vessel.
#include <QWidget>

#include <cstdint>
#include <map>
#include <vector>

#include "chart/gshhg.h"
#include "chart/projection.h"
#include "chart/voyage.h"
#include "model/encounter.h"

class QPainter;
class QPainterPath;

namespace brenvik::ui {

struct AppState;
class TimeCursor;

enum class ColourBy { Plain = 0, Speed, Depth, Time, Alarm };

class MapView : public QWidget {
    Q_OBJECT
public:
    MapView(AppState& app, TimeCursor& cursor, QWidget* parent = nullptr);

    // The voyage to draw (owned by the pane), its vessels' labels, and the track point of each
    // event (-1 without a position).
    void SetVoyage(const chart::TVoyage* v, std::vector<QString> labels, std::vector<int> ownpoint);
    void FitAll();
    void FitMarked();
    void SetColourBy(ColourBy c);
    ColourBy colourBy() const { return colourby_; }
    chart::TMercatorView& view() { return view_; }
    // Draws everything into a painter over a rectangle of the given size (widget or export).
    void Render(QPainter& p, QSize size);
    // A coastline resolution letter that overrides the one the scale calls for; 0: by scale.
    void SetResolution(char res) { resolution_ = res; }
    // Time of the last Render's coastline part, in milliseconds.
    double coastMs() const { return coastms_; }
    // The process-wide coastline and its cache of outlines.
    static chart::TCoastline& Coastline();
    // A closest approach to show: both tracks stand out, a line joins the two positions, and
    // the view moves only if one of them is off the screen. A copy is kept; a new voyage
    // drops it.
    void SetEncounter(const TEncounter& e);
    // The encounter shown: null when none was chosen or its vessel is no longer the one
    // selected in the AIS grid.
    const TEncounter* encounter() const;

signals:
    void vesselClicked(int mmsi);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    void DrawCoast(QPainter& p, const chart::TMercatorView& v);
    void DrawGraticule(QPainter& p, const chart::TMercatorView& v);
    void DrawScaleBar(QPainter& p, const chart::TMercatorView& v);
    void DrawTrack(QPainter& p, const chart::TMercatorView& v);
    void DrawVessels(QPainter& p, const chart::TMercatorView& v);
    void DrawCursor(QPainter& p, const chart::TMercatorView& v);
    void DrawEncounter(QPainter& p, const chart::TMercatorView& v, const TEncounter& e);
    void ShowBoth(const TEncounter& e);
    void DrawLegend(QPainter& p, QSize size);
    double ColourValue(std::size_t point) const;
    void Pick(QPoint at);
    QString HoverText(QPoint at) const;

    AppState& app_;
    TimeCursor& cursor_;
    const chart::TVoyage* voyage_ = nullptr;
    std::vector<QString> labels_;
    std::vector<int> ownpoint_;
    chart::TMercatorView view_;
    ColourBy colourby_ = ColourBy::Speed;
    double vmin_ = 0, vmax_ = 1;  // the colour field's range
    std::vector<std::uint8_t> colourix_;  // per own-track point: colour step 0..15, 16 none
    bool fitted_ = false;
    bool dragging_ = false;
    QPoint press_, last_;
    double coastms_ = 0;
    char resolution_ = 0;
    TEncounter encounter_;
    bool hasencounter_ = false;
};

}  // namespace brenvik::ui

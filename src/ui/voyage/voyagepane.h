#pragma once
// The voyage pane beside the grids: a tool row (fit the whole voyage, fit the marked range,
// colour the track by a field), the map over the instrument strips, and an explanatory text
// instead of them when the log has nothing to draw. Its context menu saves pictures; arrow
// keys step the time cursor event by event.
#include <QWidget>

#include <memory>

#include "chart/voyage.h"

class QComboBox;
class QLabel;
class QSplitter;
class QToolButton;

namespace brenvik::ui {

struct AppState;
class MapView;
class StripsView;
class TimeCursor;

class VoyagePane : public QWidget {
    Q_OBJECT
public:
    explicit VoyagePane(AppState& app, QWidget* parent = nullptr);
    ~VoyagePane() override;

    // After a load (or a change of units): the voyage gathered again from the session.
    void Reload();
    // While a load fills the session: no voyage, only text.
    void Clear(const QString& text);
    // After a change of units or formats: the same voyage, its texts and strip values anew.
    void Refresh();
    TimeCursor* cursor() const { return cursor_; }
    MapView* map() const { return map_; }
    StripsView* strips() const { return strips_; }
    QSplitter* splitter() const { return split_; }
    QComboBox* colourBox() const { return colour_; }
    // The explanatory text, when shown; empty otherwise.
    QString message() const;
    const chart::TVoyage& voyage() const { return *voyage_; }
    // Steps the cursor by delta events among those with a time.
    void Step(int delta);
    // Saves map, strips or both (0, 1, 2) to path; PNG unless the name ends in .svg.
    bool Export(int part, const QString& path) const;
    QString Caption() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void ShowMessage(const QString& text);

    AppState& app_;
    std::unique_ptr<chart::TVoyage> voyage_;
    TimeCursor* cursor_;
    QToolButton* fitall_;
    QToolButton* fitmarked_;
    QComboBox* colour_;
    QSplitter* split_;
    MapView* map_;
    StripsView* strips_;
    QLabel* message_;
};

}  // namespace brenvik::ui

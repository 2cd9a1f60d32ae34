#pragma once
// The one time cursor of the voyage view: the event the user last picked on the map, a strip
// or a grid row. The map, the strips and the grids all follow it, none follows another.
#include <QObject>

namespace brenvik::ui {

class TimeCursor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    int current() const { return event_; }
    // -1: no event. Emits changed only when the event differs.
    void setEvent(int ev) {
        if (ev == event_) return;
        event_ = ev;
        emit changed(ev);
    }

signals:
    void changed(int ev);

private:
    int event_ = -1;
};

}  // namespace brenvik::ui

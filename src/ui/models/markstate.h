#pragma once
// The marked range of events: grid rows (1-based event positions) of the first and last marked
// event. markactive: the range holds fewer rows than there are events.
namespace brenvik::ui {

struct MarkState {
    int markfirst = 1;
    int marklast = 0;
    bool markactive = false;

    bool Inside(int gridrow) const { return gridrow >= markfirst && gridrow <= marklast; }
    // After a load: every event marked.
    void Reset(int eventcount) {
        markfirst = 1;
        marklast = eventcount;
    }
    int Count() const { return marklast + 1 - markfirst; }
};

}  // namespace brenvik::ui

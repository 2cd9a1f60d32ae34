#pragma once
// Event segmentation: when the event under construction is finished. The great circle it
// measures with is in model/geodesy.h.
#include "model/eventobj.h"
#include "model/geodesy.h"

namespace brenvik {

class Session;

// Segmentation state at the start of a load, with the time threshold taken from the settings.
void ResetSegmentation(Session& s);
// Cuts the event under construction when the time, distance or alarm threshold is reached.
void CutCheck(Session& s, TCoord pos, TDateTime t);

}  // namespace brenvik

#pragma once
// Event segmentation: when the event under construction is finished, and the great circle.
#include "model/eventobj.h"

namespace brenvik {

class Session;

// Segmentation state at the start of a load, with the time threshold taken from the settings.
void ResetSegmentation(Session& s);
// Cuts the event under construction when the time, distance or alarm threshold is reached.
void CutCheck(Session& s, TCoord pos, TDateTime t);
TDstBrg DistBearing(TCoord a, TCoord b);  // radians in, metres and radians out
double Distance(TCoord a, TCoord b);
// The angle of the vector (x, y) in radians; -pi on the negative x axis, 0 at the origin.
double Atan2(double x, double y);

}  // namespace brenvik

#pragma once
// Event segmentation: when the event under construction is finished, and the great circle.
#include "model/eventobj.h"

namespace brenvik {

class Session;

void ResetSegmentation(Session& s);
void CutCheck(Session& s, TCoord pos, TDateTime t);
TDstBrg DistBearing(TCoord a, TCoord b);  // radians in, metres and radians out
double Distance(TCoord a, TCoord b);
double Atan2(double x, double y);

}  // namespace brenvik

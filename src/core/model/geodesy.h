#pragma once
// The great circle on the sphere of mean radius 6371000 m: distances and initial bearings
// between positions, used by the event segmentation and the encounters alike.
#include "model/eventobj.h"

namespace brenvik {

constexpr double kEarthRadius = 6371000;  // mean radius, metres

TDstBrg DistBearing(TCoord a, TCoord b);  // radians in, metres and radians out
double Distance(TCoord a, TCoord b);
// The angle of the vector (x, y) in radians; -pi on the negative x axis, 0 at the origin.
double Atan2(double x, double y);

}  // namespace brenvik

#pragma once
// Pictures of the voyage pane: the map, the strips or both, as PNG or SVG, with a caption line
// naming the file, the time span in UTC and the units.
#include <QString>

#include "chart/voyage.h"

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class MapView;
class StripsView;

// "harbour.log, 25/06/2024 10:00:00 - 10:59:59 UTC, speed knt, distance nm, depth m"
QString VoyageCaption(const Session& s, const chart::TVoyage& v);
// part: 0 map, 1 strips, 2 both (a missing view is left out). SVG when path ends in .svg.
bool ExportVoyagePicture(MapView* map, StripsView* strips, int part, const QString& path, const QString& caption);

}  // namespace brenvik::ui

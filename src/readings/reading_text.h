#pragma once

#include "readings/area.h"
#include "readings/reading_rows.h"
#include "readings/selection_stats.h"
#include "readings/tangent.h"

#include <string>

// The unit of an area: the y unit times the x unit ("N s"), a speed times
// a time its length ("m/s" and "s": "m").
std::string areaUnit(const ReadingUnits& units);
// The unit of a slope: the y unit per x unit ("m/s", "1/s").
std::string slopeUnit(const ReadingUnits& units);

// The line the graph window and the batch show for each reading:
// "area = 9.98 ± 0.02 N s from x = 0 to 2 (41 rows, trapezoid rule;
// uncertainty from the readings ± 0.012, from the rule ± 0.0040)".
std::string areaText(const AreaReading& area, const ReadingUnits& units);
// "tangent at x = 0.5: slope = 1.234 ± 0.012 m/s (parabola through the 7
// nearest rows, x from 0.35 to 0.65)".
std::string tangentText(const TangentReading& tangent, const ReadingUnits& units);
// "y over x = 0 to 2 s: N = 41, mean = 1.2340 ± 0.0019 N (standard error),
// s = 0.0120 N, min = 1.2 N, max = 1.27 N".
std::string statsText(const SelectionStats& stats, const ReadingUnits& units);

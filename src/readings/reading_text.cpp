#include "readings/reading_text.h"

#include "format/report_number.h"

namespace {

// " N" after a number, nothing without a unit.
std::string withUnit(const std::string& unit) { return unit.empty() ? "" : " " + unit; }

std::string part(double value) { return "± " + significantValue(value, 2); }

} // namespace

std::string areaUnit(const ReadingUnits& units)
{
    if (units.y.empty() || units.x.empty())
        return units.y.empty() ? units.x : units.y;
    const std::string per = "/" + units.x;
    if (units.y.size() > per.size() && units.y.ends_with(per))
        return units.y.substr(0, units.y.size() - per.size());
    return units.y + " " + units.x;
}

std::string slopeUnit(const ReadingUnits& units)
{
    if (units.x.empty())
        return units.y;
    return (units.y.empty() ? "1" : units.y) + "/" + units.x;
}

std::string areaText(const AreaReading& area, const ReadingUnits& units)
{
    std::string text = "area = " + valueWithUncertainty(area.area, area.uncertainty) +
                       withUnit(areaUnit(units)) + " from x = " + typedValue(area.from) + " to " +
                       typedValue(area.to) + " (" + std::to_string(area.points) +
                       " rows, trapezoid rule; uncertainty";
    if (area.uncertaintiesGiven)
        text += " from the readings " + part(area.readingsPart);
    if (area.rulePart)
        text += std::string(area.uncertaintiesGiven ? "," : "") + " from the rule " +
                part(*area.rulePart);
    else
        text += std::string(area.uncertaintiesGiven ? "," : "") + " of the rule not estimated" +
                (area.points == 2 ? " from two rows" : "");
    if (!area.uncertaintiesGiven)
        text += "; y has no uncertainties chosen";
    else if (area.withoutUncertainty > 0)
        text += "; " + std::to_string(area.withoutUncertainty) +
                (area.withoutUncertainty == 1 ? " row" : " rows") +
                " without an uncertainty counted as exact";
    return text + ")";
}

std::string tangentText(const TangentReading& tangent, const ReadingUnits& units)
{
    return "tangent at x = " + typedValue(tangent.x) +
           ": slope = " + valueWithUncertainty(tangent.slope, tangent.uncertainty) +
           withUnit(slopeUnit(units)) + " (" + (tangent.weighted ? "weighted " : "") +
           (tangent.parabola ? "parabola" : "straight line") + " through the " +
           std::to_string(tangent.points) + " nearest rows, x from " + typedValue(tangent.from) +
           " to " + typedValue(tangent.to) +
           (tangent.shapePart ? "; uncertainty from the scatter " + part(tangent.scatterPart) +
                                    ", from the curve's shape " + part(*tangent.shapePart)
                              : std::string()) +
           ")";
}

std::string statsText(const SelectionStats& stats, const ReadingUnits& units)
{
    const std::string y = withUnit(units.y);
    std::string text = "y over x = " + typedValue(stats.from) + " to " + typedValue(stats.to) +
                       withUnit(units.x) + ": N = " + std::to_string(stats.points);
    if (!stats.sd)
        return text + ", mean = " + typedValue(stats.mean) + y + " (one row: no spread)";
    return text + ", mean = " + valueWithUncertainty(stats.mean, *stats.standardError) + y +
           " (standard error), s = " + significantValue(*stats.sd, 4) + y +
           ", min = " + typedValue(stats.min) + y + ", max = " + typedValue(stats.max) + y;
}

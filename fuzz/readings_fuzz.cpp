// Arbitrary finite doubles as rows (x, y, u(y) in turn, after a first byte
// that picks the tangent's rows and point): the area, the tangent and the
// statistics never crash; an area is refused exactly when x fails to
// increase or there are fewer than two rows, and what they give is finite
// and within the rows (the tangent's x and rows, the mean between the least
// and greatest y) when the values are of a size whose sums stay finite.

#include "fuzz_check.h"
#include "readings/reading_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double largest = 1e100; // sums and squares of these stay finite

void checkArea(const ReadingRows& rows, bool moderate)
{
    const auto area = areaUnder(rows);
    bool increasing = rows.points.size() >= 2;
    for (std::size_t i = 1; i < rows.points.size(); ++i)
        increasing = increasing && rows.points[i].x > rows.points[i - 1].x;
    fuzzCheck(increasing == std::holds_alternative<AreaReading>(area),
              "an area refused for rows that increase, or given for rows that do not");
    if (!increasing || !moderate)
        return;
    const AreaReading& a = std::get<AreaReading>(area);
    fuzzCheck(std::isfinite(a.area) && std::isfinite(a.uncertainty) && a.uncertainty >= 0,
              "an area or its uncertainty not finite");
    fuzzCheck(!areaText(a, {"s", "N"}).empty(), "no text for an area");
}

void checkTangent(const ReadingRows& rows, double x, int count, bool moderate)
{
    const auto tangent = tangentAt(rows, x, count);
    if (!std::holds_alternative<TangentReading>(tangent))
        return;
    const TangentReading& t = std::get<TangentReading>(tangent);
    fuzzCheck(t.points == count && t.from <= x && x <= t.to,
              "a tangent through other rows than asked, or away from its rows");
    if (moderate)
        fuzzCheck(std::isfinite(t.slope) && std::isfinite(t.y), "a tangent's slope not finite");
}

void checkStats(const ReadingRows& rows, bool moderate)
{
    const std::optional<SelectionStats> stats = selectionStats(rows);
    fuzzCheck(stats.has_value() == !rows.points.empty(), "statistics of no rows, or none of some");
    if (!stats || !moderate)
        return;
    fuzzCheck(stats->min <= stats->max && stats->from <= stats->to, "least above greatest");
    const double slack = 1e-12 * std::max(std::fabs(stats->min), std::fabs(stats->max));
    fuzzCheck(stats->mean >= stats->min - slack && stats->mean <= stats->max + slack,
              "a mean outside the values");
    fuzzCheck(!stats->sd || (*stats->sd >= 0 && std::isfinite(*stats->sd)), "a spread below 0");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    std::vector<double> values;
    for (std::size_t at = 1; at + sizeof(double) <= size; at += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + at, sizeof value);
        if (std::isfinite(value))
            values.push_back(value);
    }
    ReadingRows rows;
    bool moderate = true;
    for (std::size_t i = 0; i + 3 <= values.size(); i += 3) {
        rows.points.push_back({values[i], values[i + 1]});
        rows.uy.push_back(values[i + 2] >= 0 ? values[i + 2] : NAN);
        rows.lines.push_back(static_cast<int>(i / 3) + 1);
        moderate = moderate && std::fabs(values[i]) < largest && std::fabs(values[i + 1]) < largest &&
                   std::fabs(values[i + 2]) < largest;
    }
    if (data[0] % 2 == 0)
        rows.uy.clear();
    checkArea(rows, moderate);
    checkStats(rows, moderate);
    if (!rows.points.empty()) {
        const Point& some = rows.points[data[0] / 2 % rows.points.size()];
        checkTangent(rows, some.x, 3 + data[0] / 16 % 6, moderate);
    }
    return 0;
}

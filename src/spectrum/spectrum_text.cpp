#include "spectrum/spectrum_text.h"

#include "format/report_number.h"

#include <cmath>

namespace {

std::string withUnit(const std::string& number, const std::string& unit)
{
    return unit.empty() ? number : number + " " + unit;
}

// Up to six significant digits, no trailing zeros: "44100", "99.8".
std::string rateText(double rate)
{
    const double scale = std::pow(10.0, 5 - std::floor(std::log10(std::abs(rate))));
    return typedValue(std::round(rate * scale) / scale);
}

std::string rateUnit(const std::string& xUnit)
{
    if (xUnit == "s")
        return "Hz";
    return xUnit.empty() ? "per x unit" : "per " + xUnit;
}

std::string peakLine(const SpectrumPeak& peak, const std::string& fUnit, const std::string& yUnit)
{
    return "peak at " + withUnit(valueWithUncertainty(peak.frequency, peak.uncertainty), fUnit) +
           ", amplitude " + withUnit(significantValue(peak.amplitude), yUnit);
}

} // namespace

std::string frequencyUnit(const std::string& xUnit)
{
    if (xUnit == "s")
        return "Hz";
    return "cycles per " + (xUnit.empty() ? std::string("x unit") : xUnit);
}

std::vector<std::string> spectrumNotes(const Spectrum& spectrum, const std::string& xUnit)
{
    std::vector<std::string> notes;
    const EvenSamples& samples = spectrum.samples;
    const std::string unit = xUnit.empty() ? "" : " " + xUnit;
    if (samples.unevenSpread)
        notes.push_back("the times are not evenly spaced (" +
                        significantValue(samples.unevenSpread->first, 3) + " to " +
                        significantValue(samples.unevenSpread->second, 3) + unit +
                        "); the spectrum uses their mean spacing");
    if (samples.gaps > 0)
        notes.push_back(
            (samples.gaps == 1 ? std::string("a gap") : std::to_string(samples.gaps) + " gaps") +
            " of more than " + typedValue(gapSpacings) + " spacings " +
            (samples.gaps == 1 ? "is" : "are") + " bridged by straight lines; " +
            (samples.gaps == 1 ? "it" : "the first") + " is " +
            significantValue(samples.firstGapLength, 3) + unit + " long, after x = " +
            significantValue(samples.firstGapAt, 6));
    return notes;
}

std::vector<std::string> spectrumText(const Spectrum& spectrum, const std::string& yTitle,
                                      const std::string& xUnit, const std::string& yUnit)
{
    if (!spectrum.failure.empty())
        return {"no spectrum: " + spectrum.failure};
    const std::string fUnit = frequencyUnit(xUnit);
    std::vector<std::string> lines = {
        "Spectrum of " + yTitle + ", " + windowName(spectrum.window) +
        " window, mean removed: sample rate " + withUnit(rateText(spectrum.sampleRate), rateUnit(xUnit)) +
        ", " + std::to_string(spectrum.sampleCount()) + " samples, resolution Δf = " +
        withUnit(significantValue(spectrum.resolution), fUnit)};
    const std::vector<std::string> notes = spectrumNotes(spectrum, xUnit);
    lines.insert(lines.end(), notes.begin(), notes.end());
    for (const SpectrumPeak& peak : spectrum.peaks)
        lines.push_back(peakLine(peak, fUnit, yUnit));
    if (spectrum.peaks.empty())
        lines.push_back("no peak stands out: a peak is " + typedValue(peakOverNoise) +
                        " times the median amplitude (the noise), " + typedValue(peakOverSides) +
                        " times the spectrum beyond its lobe and at least 1/10000 of the "
                        "strongest bin");
    return lines;
}

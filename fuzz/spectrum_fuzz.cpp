// Any bytes as a signal (after a first byte that picks the window): each
// three bytes a sample, a step of x (jittered; 0 steps, and 255 a gap) and
// a value. The spectrum never crashes; it is refused exactly when there are
// fewer than 8 samples or x fails to increase; otherwise its bins reach the
// Nyquist frequency, and its peaks, at most five, strongest first, stand
// within the bins with a finite uncertainty and amplitude.

#include "fuzz_check.h"
#include "spectrum/spectrum.h"

#include <cmath>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const SpectrumWindow window = allWindows[data[0] % 4];
    std::vector<double> x, y;
    bool increasing = true;
    double t = 0;
    for (std::size_t at = 1; at + 3 <= size; at += 3) {
        const std::uint8_t step = data[at];
        if (!x.empty()) {
            increasing = increasing && step != 0;
            t += step == 0 ? 0 : step == 255 ? 0.05 : 0.001 * (1 + (step - 128) / 5000.0);
        }
        x.push_back(t);
        y.push_back(static_cast<std::int16_t>(data[at + 1] | data[at + 2] << 8) / 32768.0);
    }
    const Spectrum spectrum = spectrumOf(x, y, window);
    const bool refused = x.size() < 2 || !increasing || spectrum.sampleCount() < fewestSpectrumSamples;
    fuzzCheck(spectrum.failure.empty() != refused, "a spectrum refused or given wrongly");
    if (!spectrum.failure.empty())
        return 0;
    fuzzCheck(spectrum.amplitudes.size() == spectrum.sampleCount() / 2 + 1, "bins not N/2 + 1");
    const double nyquist = spectrum.sampleRate / 2;
    fuzzCheck(spectrum.peaks.size() <= mostPeaks, "more than five peaks");
    for (std::size_t k = 0; k < spectrum.peaks.size(); ++k) {
        const SpectrumPeak& peak = spectrum.peaks[k];
        fuzzCheck(peak.frequency > 0 && peak.frequency <= nyquist * (1 + 1e-12),
                  "a peak outside the bins");
        fuzzCheck(std::isfinite(peak.uncertainty) && peak.uncertainty > 0, "an uncertainty not finite");
        fuzzCheck(std::isfinite(peak.amplitude) && peak.amplitude > 0, "an amplitude not finite");
        fuzzCheck(k == 0 || peak.amplitude <= spectrum.peaks[k - 1].amplitude,
                  "peaks not strongest first");
    }
    return 0;
}

#pragma once

#include "spectrum/even_samples.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The amplitude spectrum of a signal: the mean removed, a window applied,
// an FFT, and each bin's amplitude scaled so that a sine of amplitude A
// centred on a bin stands at A. Bin k is the frequency k Δf, Δf = rate / N.

enum class SpectrumWindow { Hann, Rectangular, Hamming, Blackman };

// "Hann", "rectangular", ... as the window list and the text name them.
std::string windowName(SpectrumWindow window);
// The window of a name (as windowName gives, or "rect"), or nothing.
std::optional<SpectrumWindow> windowNamed(const std::string& name);
inline constexpr SpectrumWindow allWindows[] = {SpectrumWindow::Hann, SpectrumWindow::Rectangular,
                                               SpectrumWindow::Hamming, SpectrumWindow::Blackman};

// A peak: its frequency between the bins, its standard uncertainty and its
// amplitude, in the signal's units.
struct SpectrumPeak {
    double frequency = 0;
    double uncertainty = 0;
    double amplitude = 0;
};

// The fewest samples a spectrum is made of, and the most peaks it names.
inline constexpr std::size_t fewestSpectrumSamples = 8;
inline constexpr std::size_t mostPeaks = 5;
// A peak stands this many times above the noise floor, the median
// amplitude of all bins...
inline constexpr double peakOverNoise = 10;
// ...and this many times above the spectrum a few bins to either side (a
// window's main lobe and two bins more): a tone's peak is narrow, a chirp's
// broad band is none...
inline constexpr double peakOverSides = 4;
// ...and no lower than this share of the strongest bin (80 dB below it):
// below that lie the rounding of the data's last digit and the transform's
// own, not what was measured.
inline constexpr double peakOverStrongest = 1e-4;

struct Spectrum {
    SpectrumWindow window = SpectrumWindow::Hann;
    EvenSamples samples;   // what was transformed, and what resampling did
    double sampleRate = 0; // 1 / spacing, in samples per x unit
    double resolution = 0; // Δf = rate / N
    std::vector<double> amplitudes; // bins 0 .. N/2
    std::vector<SpectrumPeak> peaks; // strongest first
    double noiseFloor = 0;           // the median amplitude
    std::size_t samplesUsed = 0; // N, kept when the samples are let go
    std::string failure; // why there is none: too few samples, x that do not increase

    std::size_t sampleCount() const { return samplesUsed; }
};

// The spectrum of y against x, its peaks looked for between `from` and `to`
// (frequencies; open ends take all).
Spectrum spectrumOf(std::span<const double> x, std::span<const double> y, SpectrumWindow window,
                    std::optional<double> from = std::nullopt,
                    std::optional<double> to = std::nullopt);

// The largest error of the peak's interpolation for a clean tone anywhere
// between two bins about bin `bin`, in bins, for each window (measured; the
// tests check it).
double interpolationBias(SpectrumWindow window, double bin);

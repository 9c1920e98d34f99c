#pragma once

#include "spectrum/spectrum.h"

#include <string>
#include <vector>

// What the graph's text and the batch say of a spectrum.

// "Hz" for x in seconds, "cycles per m" for x in metres, "cycles per x
// unit" without a unit.
std::string frequencyUnit(const std::string& xUnit);

// "Spectrum of U (V), Hann window, mean removed: sample rate 44100 Hz,
// 65536 samples, resolution Δf = 0.6729 Hz", the notes of resampling, then
// a line a peak ("peak at 440.02 ± 0.03 Hz, amplitude 0.5012 V"), or why
// none is named, or why there is no spectrum.
std::vector<std::string> spectrumText(const Spectrum& spectrum, const std::string& yTitle,
                                      const std::string& xUnit, const std::string& yUnit);

// The notes alone: the times' spread, the gaps bridged.
std::vector<std::string> spectrumNotes(const Spectrum& spectrum, const std::string& xUnit);

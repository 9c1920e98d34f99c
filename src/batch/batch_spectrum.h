#pragma once

#include "batch/batch_run.h"

#include <istream>
#include <string>
#include <vector>

// spectrum [--x K] [--y K] [--from F] [--to F] [--window hann|rect|hamming|blackman]
// [--json] [FILE]: the amplitude spectrum of y against x as the graph window
// shows it, its text (--json: the sample rate, the samples, the resolution
// and the peaks, strongest first). Fewer than 8 samples, or x that do not
// increase: exit 1 with a message.
BatchResult runSpectrum(const std::vector<std::string>& arguments, std::istream& input);

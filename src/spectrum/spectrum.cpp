#include "spectrum/spectrum.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace {

// FFTW makes its plans one at a time; the transforms themselves may run
// side by side (the graph, the batch, the bench).
std::mutex planning;

double windowAt(SpectrumWindow window, std::size_t i, std::size_t n)
{
    const double phase = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
    switch (window) {
    case SpectrumWindow::Hann:
        return 0.5 - 0.5 * std::cos(phase);
    case SpectrumWindow::Hamming:
        return 0.54 - 0.46 * std::cos(phase);
    case SpectrumWindow::Blackman:
        return 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2 * phase);
    case SpectrumWindow::Rectangular:
        break;
    }
    return 1;
}

// Half the width of the window's main lobe, in bins.
int halfLobe(SpectrumWindow window)
{
    switch (window) {
    case SpectrumWindow::Rectangular:
        return 1;
    case SpectrumWindow::Blackman:
        return 3;
    case SpectrumWindow::Hann:
    case SpectrumWindow::Hamming:
        break;
    }
    return 2;
}

// What a thread's transforms of one size and window share: the window's
// values, FFTW's buffers and its plan, kept for the next transform (a
// recording re-plots its spectrum four times a second), so that neither
// the cosines nor the buffers' pages are made again.
class Transform {
public:
    ~Transform() { release(); }

    void prepare(std::size_t n, SpectrumWindow window)
    {
        if (n != n_) {
            release();
            n_ = n;
            in_ = fftw_alloc_real(n);
            out_ = fftw_alloc_complex(n / 2 + 1);
            const std::lock_guard lock(planning);
            plan_ = fftw_plan_dft_r2c_1d(static_cast<int>(n), in_, out_, FFTW_ESTIMATE);
        }
        if (weights_.size() != n || window != window_) {
            window_ = window;
            weights_.resize(n);
            weightSum_ = 0;
            for (std::size_t i = 0; i < n; ++i)
                weightSum_ += weights_[i] = windowAt(window, i, n);
        }
    }

    // |X_k| of the windowed samples, scaled: 2 |X_k| / Σw (the DC bin
    // |X_0| / Σw). The window's mean of the samples, Σ w y / Σ w, is removed
    // first: it leaves the windowed samples without a DC part, so that no
    // lobe about 0 Hz stands for a peak.
    std::vector<double> amplitudes(std::span<const double> samples)
    {
        double weighted = 0;
        for (std::size_t i = 0; i < n_; ++i)
            weighted += weights_[i] * samples[i];
        const double mean = weighted / weightSum_;
        for (std::size_t i = 0; i < n_; ++i)
            in_[i] = (samples[i] - mean) * weights_[i];
        fftw_execute(plan_);
        std::vector<double> amplitudes;
        amplitudes.reserve(n_ / 2 + 1);
        for (std::size_t k = 0; k <= n_ / 2; ++k) {
            const double re = out_[k][0], im = out_[k][1];
            const double squared = re * re + im * im;
            const double size = std::isfinite(squared) ? std::sqrt(squared) : std::hypot(re, im);
            const bool single = k == 0 || 2 * k == n_; // no mirror bin
            amplitudes.push_back((single ? 1 : 2) * size / weightSum_);
        }
        return amplitudes;
    }

private:
    void release()
    {
        if (plan_) {
            const std::lock_guard lock(planning);
            fftw_destroy_plan(plan_);
        }
        fftw_free(in_);
        fftw_free(out_);
        plan_ = nullptr;
        in_ = nullptr;
        out_ = nullptr;
        n_ = 0;
    }

    std::size_t n_ = 0;
    double* in_ = nullptr;
    fftw_complex* out_ = nullptr;
    fftw_plan plan_ = nullptr;
    SpectrumWindow window_ = SpectrumWindow::Hann;
    std::vector<double> weights_;
    double weightSum_ = 0;
};

std::vector<double> amplitudesOf(std::span<const double> samples, SpectrumWindow window)
{
    thread_local Transform transform;
    transform.prepare(samples.size(), window);
    return transform.amplitudes(samples);
}

// The median, worked out in a buffer the thread keeps: a fresh one of
// megabytes a spectrum would cost more in page faults than the sorting.
double median(const std::vector<double>& values)
{
    if (values.empty())
        return 0;
    thread_local std::vector<double> scratch;
    scratch.assign(values.begin(), values.end());
    std::nth_element(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(scratch.size() / 2),
                     scratch.end());
    return scratch[scratch.size() / 2];
}

double sinc(double x) { return x == 0 ? 1 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x); }

// What the window's lobe gives a tone `offset` bins from a bin, against a
// tone on it: Σ c_m (sinc(δ - m) + sinc(δ + m)) / (2 c_0) over the cosine
// terms c_m of the window (Hann: sinc δ / (1 - δ²)).
double lobeGain(SpectrumWindow window, double offset)
{
    double terms[3] = {1, 0, 0};
    switch (window) {
    case SpectrumWindow::Hann:
        terms[0] = 0.5, terms[1] = 0.5;
        break;
    case SpectrumWindow::Hamming:
        terms[0] = 0.54, terms[1] = 0.46;
        break;
    case SpectrumWindow::Blackman:
        terms[0] = 0.42, terms[1] = 0.5, terms[2] = 0.08;
        break;
    case SpectrumWindow::Rectangular:
        break;
    }
    double gain = terms[0] * sinc(offset);
    for (int m = 1; m < 3; ++m)
        gain += terms[m] / 2 * (sinc(offset - m) + sinc(offset + m));
    return gain / terms[0];
}

// Whether bin k is a peak: the greatest within its lobe, above the noise
// and above the spectrum beyond its lobe on both sides.
bool isPeak(const std::vector<double>& a, std::size_t k, int lobe, double threshold)
{
    if (!(a[k] > threshold) || a[k - 1] > a[k] || a[k + 1] >= a[k])
        return false;
    const std::size_t side = static_cast<std::size_t>(lobe) + 2;
    for (std::size_t j = 1; j <= static_cast<std::size_t>(lobe); ++j)
        if ((k >= j && a[k - j] > a[k]) || (k + j < a.size() && a[k + j] > a[k]))
            return false;
    const double left = k >= side ? a[k - side] : 0;
    const double right = k + side < a.size() ? a[k + side] : 0;
    return a[k] >= peakOverSides * std::max(left, right);
}

// The offset δ in [-0.5, 0.5] where `ratio(δ)`, rising with δ, equals
// `wanted`, by bisection.
template <typename Ratio> double solvedOffset(double wanted, Ratio ratio)
{
    double low = -0.5, high = 0.5;
    for (int step = 0; step < 50; ++step) {
        const double middle = (low + high) / 2;
        (ratio(middle) < wanted ? low : high) = middle;
    }
    return (low + high) / 2;
}

// The true maximum about bin k: its offset from bin k, in bins, and how
// far a second reading of the lobe disagrees (its shape). A lone steady
// tone gives the lobe exactly, L(x) = lobeGain: the ratio of the two
// neighbours, |L(1 - δ)| / |L(1 + δ)|, gives δ, and stays 0 for any peak
// symmetric about its bin (a fork's dying tone broadens it); the ratio of
// the greater neighbour to the bin, |L(1 - |δ|)| / |L(δ)|, gives δ too, but
// is pulled by a broadened lobe: their difference is the shape's part of
// the uncertainty. The rectangular window's neighbours are 0 for a tone on
// a bin, so it takes the second reading alone, δ = α / (1 + α).
struct Vertex {
    double offset = 0;
    double shape = 0; // in bins
};
Vertex interpolatedVertex(const std::vector<double>& a, std::size_t k, SpectrumWindow window)
{
    const bool upward = a[k + 1] >= a[k - 1];
    const double greater = (upward ? a[k + 1] : a[k - 1]) / a[k];
    const double sign = upward ? 1 : -1;
    if (window == SpectrumWindow::Rectangular)
        return {sign * greater / (1 + greater), 0};
    const auto lobe = [window](double x) { return std::abs(lobeGain(window, x)); };
    const double neighbours = solvedOffset(
        std::log(a[k + 1] / a[k - 1]),
        [&](double d) { return std::log(lobe(1 - d) / lobe(1 + d)); });
    const double centre =
        sign * solvedOffset(greater, [&](double d) {
            return d < 0 ? -1 : lobe(1 - d) / lobe(d);
        });
    return {neighbours, std::abs(neighbours - centre)};
}

// The uncertainty of a peak's frequency, in bins: the interpolation's own
// largest error, and the noise's share. Noise of standard deviation σ in
// each component of a bin moves the estimate by up to about 1.5 σ / A bins
// (the rectangular ratio's, near a bin; Hann's about 1), A the peak's
// amplitude; 2.2 σ / A also covers the correlation the window gives
// neighbouring bins. σ comes from the noise floor, the median of
// Rayleigh-distributed amplitudes being 1.18 σ.
double peakUncertaintyBins(SpectrumWindow window, double bin, double amplitude,
                           double noiseFloor)
{
    const double sigma = noiseFloor / std::sqrt(2 * std::numbers::ln2);
    const double noise = 2 * 1.1 * sigma / amplitude;
    return std::hypot(interpolationBias(window, bin), noise);
}

std::vector<SpectrumPeak> peaksOf(const Spectrum& spectrum, std::optional<double> from,
                                  std::optional<double> to)
{
    const std::vector<double>& a = spectrum.amplitudes;
    if (a.size() < 3)
        return {};
    const double strongest = *std::max_element(a.begin() + 1, a.end());
    const double threshold =
        std::max(peakOverNoise * spectrum.noiseFloor, peakOverStrongest * strongest);
    const int lobe = halfLobe(spectrum.window);
    std::vector<std::size_t> bins;
    // Within the lobe about 0 Hz no peak can be told from what is left of the mean.
    for (std::size_t k = static_cast<std::size_t>(lobe) + 1; k + 1 < a.size(); ++k) {
        const double f = static_cast<double>(k) * spectrum.resolution;
        if (!(from && f < *from) && !(to && f > *to) && isPeak(a, k, lobe, threshold))
            bins.push_back(k);
    }
    // Only the bins that may be among the strongest once corrected for the
    // lobe (by at most 1 / lobeGain(0.5)) are read between the bins.
    std::sort(bins.begin(), bins.end(), [&](std::size_t j, std::size_t k) { return a[j] > a[k]; });
    if (bins.size() > mostPeaks) {
        const double least = a[bins[mostPeaks - 1]] * lobeGain(spectrum.window, 0.5);
        bins.erase(std::find_if(bins.begin() + mostPeaks, bins.end(),
                                [&](std::size_t k) { return a[k] < least; }),
                   bins.end());
    }
    std::vector<SpectrumPeak> peaks;
    for (const std::size_t k : bins) {
        const Vertex vertex = interpolatedVertex(a, k, spectrum.window);
        SpectrumPeak peak;
        peak.frequency = (static_cast<double>(k) + vertex.offset) * spectrum.resolution;
        peak.uncertainty = std::hypot(peakUncertaintyBins(spectrum.window, static_cast<double>(k),
                                                          a[k], spectrum.noiseFloor),
                                      vertex.shape) *
                           spectrum.resolution;
        peak.amplitude = a[k] / lobeGain(spectrum.window, vertex.offset);
        peaks.push_back(peak);
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const SpectrumPeak& p, const SpectrumPeak& q) { return p.amplitude > q.amplitude; });
    if (peaks.size() > mostPeaks)
        peaks.resize(mostPeaks);
    return peaks;
}

} // namespace

std::string windowName(SpectrumWindow window)
{
    switch (window) {
    case SpectrumWindow::Rectangular:
        return "rectangular";
    case SpectrumWindow::Hamming:
        return "Hamming";
    case SpectrumWindow::Blackman:
        return "Blackman";
    case SpectrumWindow::Hann:
        break;
    }
    return "Hann";
}

std::optional<SpectrumWindow> windowNamed(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (lower == "rect")
        return SpectrumWindow::Rectangular;
    for (SpectrumWindow window : allWindows) {
        std::string known = windowName(window);
        std::transform(known.begin(), known.end(), known.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        if (lower == known)
            return window;
    }
    return std::nullopt;
}

// Measured over tones from bin 4 to bin 300 of 1024, every 0.02 bin and at
// eight phases (the largest errors found: Hann 0.0011 at bin 4 falling as
// 1/k³, rectangular 0.15 at bin 6 falling as 1/k, Hamming 0.0092 at bin 4
// falling about as 1/k, Blackman 0.0001 at bin 6), with a margin. Near
// 0 Hz the tone's mirror image at -f, seen through the window's side
// lobes, pulls the estimate.
double interpolationBias(SpectrumWindow window, double bin)
{
    switch (window) {
    case SpectrumWindow::Rectangular:
        return 1 / bin + 0.001;
    case SpectrumWindow::Hamming:
        return 0.08 / bin + 1e-4;
    case SpectrumWindow::Blackman:
        return 0.001;
    case SpectrumWindow::Hann:
        break;
    }
    return 0.12 / (bin * bin * bin) + 1e-5;
}

Spectrum spectrumOf(std::span<const double> x, std::span<const double> y, SpectrumWindow window,
                    std::optional<double> from, std::optional<double> to)
{
    Spectrum spectrum;
    spectrum.window = window;
    spectrum.samples = evenSamples(x, y);
    if (!spectrum.samples.failure.empty()) {
        spectrum.failure = spectrum.samples.failure;
        return spectrum;
    }
    const std::size_t n = spectrum.samples.count;
    spectrum.samplesUsed = n;
    if (n < fewestSpectrumSamples) {
        spectrum.failure = "a spectrum needs at least " + std::to_string(fewestSpectrumSamples) +
                           " samples; there are " + std::to_string(n);
        return spectrum;
    }
    spectrum.sampleRate = 1 / spectrum.samples.spacing;
    spectrum.resolution = spectrum.sampleRate / static_cast<double>(n);
    spectrum.amplitudes = amplitudesOf(spectrum.samples.of(y), window);
    spectrum.noiseFloor = median(spectrum.amplitudes);
    spectrum.peaks = peaksOf(spectrum, from, to);
    return spectrum;
}

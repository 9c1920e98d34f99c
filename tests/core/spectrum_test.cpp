// Spectra against closed forms: tones on and between bins found within the
// uncertainty stated (below a tenth of a bin for a clean tone), two tones in
// the order of their strength, a chirp and noise that claim no peak, noisy
// tones whose uncertainty covers the error, uneven times and gaps, and the
// batch's text and JSON.

#include "batch/batch_run.h"
#include "graph/graph_plot.h"
#include "spectrum/spectrum.h"
#include "spectrum/spectrum_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

namespace {

constexpr double pi = std::numbers::pi;

struct Signal {
    std::vector<double> t, y;
};

// n samples at `rate` of the sum of the tones (frequency, amplitude, phase).
Signal tones(std::size_t n, double rate, std::initializer_list<std::array<double, 3>> parts)
{
    Signal signal;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        double y = 0.25; // an offset, which the spectrum removes
        for (const auto& [f, a, phase] : parts)
            y += a * std::sin(2 * pi * f * t + phase);
        signal.t.push_back(t);
        signal.y.push_back(y);
    }
    return signal;
}

TEST(Spectrum, FindsACleanToneWithinItsUncertaintyBelowATenthOfABin)
{
    const struct {
        SpectrumWindow window;
        double bin; // where the tone stands, in bins of 4096 samples
    } cases[] = {
        {SpectrumWindow::Hann, 100},       {SpectrumWindow::Hann, 100.5},
        {SpectrumWindow::Hann, 100.27},    {SpectrumWindow::Hann, 7.81},
        {SpectrumWindow::Hann, 1500.93},   {SpectrumWindow::Blackman, 100.5},
        {SpectrumWindow::Blackman, 33.1},  {SpectrumWindow::Hamming, 100.5},
        {SpectrumWindow::Hamming, 250.71}, {SpectrumWindow::Rectangular, 100.5},
        {SpectrumWindow::Rectangular, 900.2},
    };
    const double rate = 8000, n = 4096, df = rate / n;
    for (const auto& c : cases)
        for (double phase : {0.0, 1.0, 2.5}) {
            const double f = c.bin * df;
            const Signal s = tones(4096, rate, {{f, 0.8, phase}});
            const Spectrum spectrum = spectrumOf(s.t, s.y, c.window);
            ASSERT_EQ(spectrum.peaks.size(), 1u) << windowName(c.window) << " " << c.bin;
            const SpectrumPeak& peak = spectrum.peaks[0];
            EXPECT_LE(std::abs(peak.frequency - f), peak.uncertainty)
                << windowName(c.window) << " at bin " << c.bin << " phase " << phase;
            EXPECT_LT(peak.uncertainty, df / 10) << windowName(c.window) << " " << c.bin;
            EXPECT_NEAR(peak.amplitude, 0.8, 0.8 * 0.01) << windowName(c.window) << " " << c.bin;
            EXPECT_DOUBLE_EQ(spectrum.resolution, df);
            EXPECT_DOUBLE_EQ(spectrum.sampleRate, rate);
            EXPECT_EQ(spectrum.sampleCount(), 4096u);
        }
}

// A struck fork dies away: its peak is broader than a steady tone's, and
// is found where the pitch is, within the uncertainty stated.
TEST(Spectrum, ADyingToneIsFoundAtItsPitch)
{
    for (double f : {440.0, 440.3, 440.5}) {
        Signal s = tones(8000, 8000, {{f, 0.6, 0.4}});
        for (std::size_t i = 0; i < s.y.size(); ++i)
            s.y[i] = 0.25 + (s.y[i] - 0.25) * std::exp(-s.t[i] / 0.7);
        const Spectrum spectrum = spectrumOf(s.t, s.y, SpectrumWindow::Hann);
        ASSERT_EQ(spectrum.peaks.size(), 1u) << f;
        // Off a bin its lobe leans: the shape's part of the uncertainty says so.
        EXPECT_LE(std::abs(spectrum.peaks[0].frequency - f), spectrum.peaks[0].uncertainty) << f;
        EXPECT_LT(spectrum.peaks[0].uncertainty, 0.1) << f;
    }
}

TEST(Spectrum, NamesTwoTonesStrongestFirst)
{
    const Signal s = tones(8192, 1000, {{50.3, 0.2, 0}, {123.4, 1.0, 1}, {333.3, 0.05, 2}});
    const Spectrum spectrum = spectrumOf(s.t, s.y, SpectrumWindow::Hann);
    ASSERT_EQ(spectrum.peaks.size(), 3u);
    EXPECT_NEAR(spectrum.peaks[0].frequency, 123.4, spectrum.peaks[0].uncertainty);
    EXPECT_NEAR(spectrum.peaks[1].frequency, 50.3, spectrum.peaks[1].uncertainty);
    EXPECT_NEAR(spectrum.peaks[2].frequency, 333.3, spectrum.peaks[2].uncertainty);
    EXPECT_NEAR(spectrum.peaks[2].amplitude, 0.05, 0.001);
    // Looked for over a range: the one in it.
    const Spectrum ranged = spectrumOf(s.t, s.y, SpectrumWindow::Hann, 200.0, 400.0);
    ASSERT_EQ(ranged.peaks.size(), 1u);
    EXPECT_NEAR(ranged.peaks[0].frequency, 333.3, 0.01);
}

// A chirp sweeps its frequency: its spectrum is a broad band, no tone, and
// whatever it claims stands inside the band.
TEST(Spectrum, AChirpIsABandNotAPeak)
{
    Signal s;
    const double rate = 8000, seconds = 1;
    for (int i = 0; i < rate * seconds; ++i) {
        const double t = i / rate;
        s.t.push_back(t);
        s.y.push_back(std::sin(2 * pi * (200 * t + 0.5 * 1000 * t * t))); // 200 to 1200 Hz
    }
    const Spectrum spectrum = spectrumOf(s.t, s.y, SpectrumWindow::Hann);
    for (const SpectrumPeak& peak : spectrum.peaks) {
        EXPECT_GE(peak.frequency, 190);
        EXPECT_LE(peak.frequency, 1210);
    }
    EXPECT_LE(spectrum.peaks.size(), 1u) << "a sweep is no row of tones";
    // Its amplitude is spread over the band, and next to nothing outside it.
    double inBand = INFINITY, outside = 0;
    for (std::size_t k = 1; k < spectrum.amplitudes.size(); ++k) {
        const double f = static_cast<double>(k) * spectrum.resolution;
        if (f > 250 && f < 1150)
            inBand = std::min(inBand, spectrum.amplitudes[k]);
        else if (f < 150 || f > 1250)
            outside = std::max(outside, spectrum.amplitudes[k]);
    }
    EXPECT_GT(inBand, 10 * outside);
}

TEST(Spectrum, NoiseAloneClaimsNoPeak)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0, 1);
        Signal s;
        for (int i = 0; i < 4096; ++i) {
            s.t.push_back(i * 0.001);
            s.y.push_back(noise(random));
        }
        for (SpectrumWindow window : allWindows)
            EXPECT_TRUE(spectrumOf(s.t, s.y, window).peaks.empty())
                << "seed " << seed << " " << windowName(window);
    }
}

// A tone in noise: the stated uncertainty covers the error as a standard
// uncertainty does, within 2u in at least nine runs of ten.
TEST(Spectrum, TheUncertaintyOfANoisyToneCoversItsError)
{
    for (SpectrumWindow window : {SpectrumWindow::Hann, SpectrumWindow::Blackman}) {
        int within = 0, runs = 0;
        for (unsigned seed = 1; seed <= 100; ++seed) {
            std::mt19937 random(seed);
            std::normal_distribution<double> noise(0, 2);
            std::uniform_real_distribution<double> where(200, 201);
            const double f = where(random) * 1000.0 / 4096;
            Signal s = tones(4096, 1000, {{f, 1, seed * 0.1}});
            for (double& y : s.y)
                y += noise(random);
            const Spectrum spectrum = spectrumOf(s.t, s.y, window);
            if (spectrum.peaks.empty())
                continue;
            ++runs;
            within += std::abs(spectrum.peaks[0].frequency - f) <= 2 * spectrum.peaks[0].uncertainty;
            EXPECT_GT(spectrum.peaks[0].uncertainty, 1e-4) << "noise must count";
        }
        EXPECT_GE(runs, 95) << windowName(window);
        EXPECT_GE(within, runs * 9 / 10) << windowName(window);
    }
}

TEST(Spectrum, ResamplesUnevenTimesAndBridgesGapsSayingSo)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-0.0002, 0.0002);
    Signal s;
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.01 + jitter(random);
        s.t.push_back(t);
        s.y.push_back(std::sin(2 * pi * 3.3 * t));
    }
    const Spectrum uneven = spectrumOf(s.t, s.y, SpectrumWindow::Hann);
    ASSERT_TRUE(uneven.samples.unevenSpread);
    EXPECT_NEAR(uneven.sampleRate, 100, 0.01);
    ASSERT_FALSE(uneven.peaks.empty());
    EXPECT_NEAR(uneven.peaks[0].frequency, 3.3, 0.01);
    const std::vector<std::string> notes = spectrumNotes(uneven, "s");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind("the times are not evenly spaced (0.0096", 0), 0u) << notes[0];
    EXPECT_NE(notes[0].find(" s); the spectrum uses their mean spacing"), std::string::npos);

    Signal gapped = tones(1000, 100, {{7, 1, 0}});
    gapped.t.erase(gapped.t.begin() + 500, gapped.t.begin() + 520);
    gapped.y.erase(gapped.y.begin() + 500, gapped.y.begin() + 520);
    const Spectrum bridged = spectrumOf(gapped.t, gapped.y, SpectrumWindow::Hann);
    EXPECT_EQ(bridged.samples.gaps, 1u);
    EXPECT_EQ(bridged.sampleCount(), 1000u);
    EXPECT_EQ(spectrumNotes(bridged, "s"),
              std::vector<std::string>{"a gap of more than 3 spacings is bridged by straight lines; "
                                       "it is 0.210 s long, after x = 4.99000"});
    ASSERT_FALSE(bridged.peaks.empty());
    EXPECT_NEAR(bridged.peaks[0].frequency, 7, 0.05);

    const Signal even = tones(1000, 44100, {{440, 1, 0}});
    EXPECT_FALSE(spectrumOf(even.t, even.y, SpectrumWindow::Hann).samples.unevenSpread);
}

TEST(Spectrum, RefusesTooFewSamplesAndXThatDoNotIncrease)
{
    const Signal seven = tones(7, 100, {{10, 1, 0}});
    EXPECT_EQ(spectrumOf(seven.t, seven.y, SpectrumWindow::Hann).failure,
              "a spectrum needs at least 8 samples; there are 7");
    Signal back = tones(100, 100, {{10, 1, 0}});
    back.t[50] = back.t[49];
    EXPECT_EQ(spectrumOf(back.t, back.y, SpectrumWindow::Hann).failure,
              "the x values do not increase from row to row");
}

TEST(Spectrum, WindowsByName)
{
    for (SpectrumWindow window : allWindows)
        EXPECT_EQ(windowNamed(windowName(window)), window);
    EXPECT_EQ(windowNamed("rect"), SpectrumWindow::Rectangular);
    EXPECT_EQ(windowNamed("HANN"), SpectrumWindow::Hann);
    EXPECT_FALSE(windowNamed("triangle"));
}

std::string toneFile(double f, std::size_t n, double rate)
{
    std::string text = "t (s),U (V)\r\n";
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        char line[64];
        std::snprintf(line, sizeof line, "%.10f,%.9f\r\n", t, 0.3 * std::sin(2 * pi * f * t));
        text += line;
    }
    return text;
}

BatchResult batch(const std::vector<std::string>& arguments, const std::string& input)
{
    std::istringstream stream(input);
    return runBatch(arguments, stream);
}

TEST(Spectrum, TheBatchGivesItsTextAndJson)
{
    const std::string data = toneFile(261.63, 2048, 8000);
    const BatchResult text = batch({"spectrum"}, data);
    ASSERT_EQ(text.exitStatus, producedOutput) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "Spectrum of U (V), Hann window, mean removed: sample rate 8000 Hz, 2048 samples, "
              "resolution Δf = 3.906 Hz");
    EXPECT_NE(text.out.find("peak at 261.630"), std::string::npos) << text.out;

    const BatchResult json = batch({"spectrum", "--json", "--window", "blackman"}, data);
    ASSERT_EQ(json.exitStatus, producedOutput) << json.err;
    EXPECT_EQ(json.out.rfind("{\"sample_rate\": 8000, \"points\": 2048, \"resolution\": 3.90625, "
                             "\"unit\": \"Hz\", \"window\": \"Blackman\", \"peaks\": [{\"frequency\": 261.6",
                             0),
              0u)
        << json.out;

    const BatchResult few = batch({"spectrum"}, toneFile(10, 7, 100));
    EXPECT_EQ(few.exitStatus, noOutput);
    EXPECT_NE(few.err.find("at least 8 samples"), std::string::npos) << few.err;
    EXPECT_EQ(batch({"spectrum", "/no/such/file.wav"}, "").exitStatus, usageError);
    EXPECT_EQ(batch({"spectrum", "--window", "triangle"}, data).exitStatus, usageError);
}

// The graph plots the bins as points on a frequency axis.
TEST(Spectrum, TheGraphPlotsBinsAgainstFrequency)
{
    const std::vector<GraphTable> blocks = readGraphBlocks(toneFile(1000, 1024, 8000), ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.spectrum = true;
    const GraphPlot plot = plotGraph(blocks[0], choice);
    EXPECT_EQ(plot.xTitle, "frequency (Hz)");
    EXPECT_EQ(plot.yTitle, "amplitude (V)");
    ASSERT_EQ(plot.points.size(), 512u);
    EXPECT_DOUBLE_EQ(plot.points[127].x, 1000);
    EXPECT_NEAR(plot.points[127].y, 0.3, 1e-6);
    EXPECT_EQ(plot.rows.size(), 1024u) << "the rows read stay for the report's table";
    EXPECT_GE(plot.x.high, 4000);
    ASSERT_TRUE(plot.spectrum);
    EXPECT_EQ(plot.spectrum->peaks.size(), 1u);
}

// All runs: each run's spectrum on the same axes, its text after its name.
TEST(Spectrum, OfAllRunsGivesEachRunItsOwn)
{
    const std::string box = "fork A\r\n" + toneFile(440, 1024, 8000) + "\r\nfork B\r\n" +
                            toneFile(523.25, 1024, 8000);
    const std::vector<GraphTable> blocks = readGraphBlocks(box, ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.spectrum = true;
    choice.allRuns = true;
    const GraphPlot plot = plotRuns(blocks, 0, choice);
    ASSERT_EQ(plot.runs.size(), 2u);
    EXPECT_EQ(plot.runs[1].points.size(), 512u);
    EXPECT_EQ(plot.xTitle, "frequency (Hz)");
    ASSERT_EQ(plot.spectrumText.size(), 4u);
    EXPECT_EQ(plot.spectrumText[0].rfind("fork A: Spectrum of U (V)", 0), 0u);
    EXPECT_EQ(plot.spectrumText[1].rfind("fork A: peak at 440.0", 0), 0u) << plot.spectrumText[1];
    EXPECT_EQ(plot.spectrumText[3].rfind("fork B: peak at 523.2", 0), 0u) << plot.spectrumText[3];
    EXPECT_GE(plot.x.high, 4000);
}

} // namespace

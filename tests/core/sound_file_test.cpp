// Sound files as data, from WAV files written here byte by byte: every
// common sample format, mono and stereo, the values scaled to -1...1 for
// integers and as they are for floats; cut and damaged files refused by
// name; and a stereo tuning fork's channels through the batch's spectrum.

#include "batch/batch_run.h"
#include "data/data_file.h"
#include "sound/sound_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <sstream>

namespace {

void put16(std::string& bytes, std::uint16_t v)
{
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>(v >> 8));
}
void put32(std::string& bytes, std::uint32_t v)
{
    put16(bytes, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(bytes, static_cast<std::uint16_t>(v >> 16));
}

enum class Sample { U8, S16, S24, S32, F32, F64 };

int bitsOf(Sample sample)
{
    switch (sample) {
    case Sample::U8:
        return 8;
    case Sample::S16:
        return 16;
    case Sample::S24:
        return 24;
    case Sample::S32:
    case Sample::F32:
        return 32;
    case Sample::F64:
        return 64;
    }
    return 0;
}

// A sample of value v (-1...1) as the format writes it.
void putSample(std::string& bytes, Sample sample, double v)
{
    switch (sample) {
    case Sample::U8:
        bytes.push_back(static_cast<char>(static_cast<int>(std::lround(v * 128)) + 128));
        return;
    case Sample::S16:
        put16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32768))));
        return;
    case Sample::S24: {
        const auto n = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 8388608)));
        for (int k = 0; k < 3; ++k)
            bytes.push_back(static_cast<char>(n >> (8 * k)));
        return;
    }
    case Sample::S32:
        put32(bytes, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(v * 2147483648.0))));
        return;
    case Sample::F32: {
        const auto f = static_cast<float>(v);
        std::uint32_t n;
        std::memcpy(&n, &f, 4);
        put32(bytes, n);
        return;
    }
    case Sample::F64: {
        std::uint64_t n;
        std::memcpy(&n, &v, 8);
        put32(bytes, static_cast<std::uint32_t>(n));
        put32(bytes, static_cast<std::uint32_t>(n >> 32));
        return;
    }
    }
}

// A WAV file of the frames (each a sample a channel); `extensible` writes
// the WAVE_FORMAT_EXTENSIBLE header that 24-bit and multichannel files use.
std::string wav(Sample sample, int rate, const std::vector<std::vector<double>>& frames,
                bool extensible = false)
{
    const int channels = static_cast<int>(frames.front().size());
    const int bytesPerSample = bitsOf(sample) / 8;
    const bool floating = sample == Sample::F32 || sample == Sample::F64;
    std::string data;
    for (const auto& frame : frames)
        for (double v : frame)
            putSample(data, sample, v);
    std::string format;
    put16(format, extensible ? 0xFFFE : floating ? 3 : 1);
    put16(format, static_cast<std::uint16_t>(channels));
    put32(format, static_cast<std::uint32_t>(rate));
    put32(format, static_cast<std::uint32_t>(rate * channels * bytesPerSample));
    put16(format, static_cast<std::uint16_t>(channels * bytesPerSample));
    put16(format, static_cast<std::uint16_t>(bitsOf(sample)));
    if (extensible) {
        put16(format, 22);
        put16(format, static_cast<std::uint16_t>(bitsOf(sample)));
        put32(format, channels == 1 ? 4 : 3); // front centre; front left and right
        put32(format, floating ? 3 : 1);      // the subformat's GUID
        format += std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    } else if (floating) {
        put16(format, 0);
    }
    std::string file = "RIFF";
    put32(file, static_cast<std::uint32_t>(4 + 8 + format.size() + 8 + data.size()));
    file += "WAVEfmt ";
    put32(file, static_cast<std::uint32_t>(format.size()));
    file += format + "data";
    put32(file, static_cast<std::uint32_t>(data.size()));
    return file + data;
}

TEST(SoundFiles, EveryCommonWavFormatGivesItsSamples)
{
    const std::vector<std::vector<double>> mono = {{0}, {0.5}, {-0.5}, {-1}, {0.25}};
    const std::vector<std::vector<double>> stereo = {{0, -0.25}, {0.5, 0.125}, {-1, 0.75}};
    const struct {
        Sample sample;
        bool extensible;
    } cases[] = {{Sample::U8, false},  {Sample::S16, false}, {Sample::S24, false},
                 {Sample::S32, false}, {Sample::F32, false}, {Sample::F64, false},
                 {Sample::S16, true},  {Sample::S24, true},  {Sample::F32, true}};
    for (const auto& c : cases) {
        const SoundText one = soundFileText(wav(c.sample, 8000, mono, c.extensible));
        ASSERT_EQ(one.refusal, "") << bitsOf(c.sample) << " bits";
        EXPECT_EQ(one.text, "t (s),left\r\n0,0\r\n0.000125,0.5\r\n0.00025,-0.5\r\n0.000375,-1\r\n"
                            "0.0005,0.25\r\n")
            << bitsOf(c.sample) << " bits";
        const SoundText two = soundFileText(wav(c.sample, 44100, stereo, c.extensible));
        ASSERT_EQ(two.refusal, "") << bitsOf(c.sample) << " bits";
        EXPECT_EQ(two.text, "t (s),left,right\r\n0,0,-0.25\r\n0.0000226757,0.5,0.125\r\n"
                            "0.0000453515,-1,0.75\r\n")
            << bitsOf(c.sample) << " bits";
    }
    // Floating samples as the file holds them, beyond -1...1 too; integers
    // to their last bit.
    EXPECT_EQ(soundFileText(wav(Sample::F32, 1000, {{1.5}, {0.1}})).text,
              "t (s),left\r\n0,1.5\r\n0.001,0.1\r\n");
    EXPECT_EQ(soundFileText(wav(Sample::S16, 1000, {{1.0 / 32768}})).text,
              "t (s),left\r\n0,0.000030517578125\r\n");
}

TEST(SoundFiles, CutOrDamagedFilesAreRefusedByName)
{
    std::vector<std::vector<double>> frames(1000, {0.5});
    const std::string whole = wav(Sample::S16, 8000, frames);
    const struct {
        std::string bytes;
        std::string reason;
    } cases[] = {
        {whole.substr(0, 1000), "it is cut short: its header promises 2 000 bytes of sound, and it "
                                "holds 956"},
        {whole.substr(0, 30), "it is not a sound file that can be read ("},
        {whole.substr(0, 12) + std::string(100, 'x'), "it is not a sound file that can be read ("},
        {wav(Sample::S16, 8000, {{0.5}}).substr(0, 44), "it holds no sound"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(looksLikeSound(c.bytes));
        const DataFileText read = decodeDataFile(c.bytes, "fork.wav", {});
        EXPECT_EQ(read.text, "");
        EXPECT_EQ(read.refusal.rfind("could not open fork.wav: " + c.reason, 0), 0u) << read.refusal;
    }
    EXPECT_FALSE(looksLikeSound("t (s),x\r\n0,1\r\n"));
    EXPECT_FALSE(looksLikeSound("RIFF"));
}

TEST(SoundFiles, AreLimitedToAMillionSamplesAChannel)
{
    std::vector<std::vector<double>> frames(mostSoundFrames + 1, {0});
    const SoundText refused = soundFileText(wav(Sample::U8, 44100, frames));
    EXPECT_EQ(refused.refusal, "it holds 1 048 577 samples a channel; the box takes at most "
                               "1 048 576 (cut the recording shorter)");
}

// A stereo recording: 440 Hz on the left, 660 Hz on the right.
TEST(SoundFiles, TheBatchReadsTheirChannelsAsColumns)
{
    std::vector<std::vector<double>> frames;
    for (int i = 0; i < 8000; ++i)
        frames.push_back({0.5 * std::sin(2 * std::numbers::pi * 440.25 * i / 8000),
                          0.25 * std::sin(2 * std::numbers::pi * 660 * i / 8000)});
    const std::string file = wav(Sample::S16, 8000, frames);
    for (const auto& [y, frequency] : {std::pair{"2", 440.25}, std::pair{"3", 660.0}}) {
        std::istringstream input(file);
        const BatchResult result = runBatch({"spectrum", "--json", "--y", y}, input);
        ASSERT_EQ(result.exitStatus, producedOutput) << result.err;
        const std::string key = "\"frequency\": ";
        const std::size_t at = result.out.find(key);
        ASSERT_NE(at, std::string::npos) << result.out;
        EXPECT_NEAR(std::stod(result.out.substr(at + key.size())), frequency, 0.001) << result.out;
        EXPECT_EQ(result.out.rfind("{\"sample_rate\": 8000, \"points\": 8000, ", 0), 0u);
    }
}

} // namespace

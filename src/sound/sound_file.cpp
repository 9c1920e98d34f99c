#include "sound/sound_file.h"

#include "format/report_number.h"

#include <sndfile.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The bytes as a file libsndfile reads through its virtual input.
struct MemoryFile {
    std::string_view bytes;
    sf_count_t at = 0;
};

sf_count_t length(void* file) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(file)->bytes.size()); }

sf_count_t seek(sf_count_t offset, int whence, void* file)
{
    auto* memory = static_cast<MemoryFile*>(file);
    const sf_count_t size = static_cast<sf_count_t>(memory->bytes.size());
    const sf_count_t base = whence == SEEK_CUR ? memory->at : whence == SEEK_END ? size : 0;
    memory->at = std::clamp<sf_count_t>(base + offset, 0, size);
    return memory->at;
}

sf_count_t read(void* destination, sf_count_t count, void* file)
{
    auto* memory = static_cast<MemoryFile*>(file);
    const sf_count_t size = static_cast<sf_count_t>(memory->bytes.size());
    const sf_count_t taken = std::clamp<sf_count_t>(count, 0, size - memory->at);
    std::memcpy(destination, memory->bytes.data() + memory->at, static_cast<std::size_t>(taken));
    memory->at += taken;
    return taken;
}

sf_count_t write(const void*, sf_count_t, void*) { return 0; }

sf_count_t tell(void* file) { return static_cast<MemoryFile*>(file)->at; }

struct SoundClose {
    void operator()(SNDFILE* sound) const { sf_close(sound); }
};

bool holdsFloats(int format)
{
    const int sub = format & SF_FORMAT_SUBMASK;
    return sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_VORBIS || sub == SF_FORMAT_OPUS;
}

// The shortest plain decimals that read back as the value.
template <typename Number> void appendNumber(std::string& text, Number value)
{
    char digits[400];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    text.append(digits, end.ptr);
}

// n / rate in seconds, to ten decimals without trailing zeros: even enough
// for any rate (the spacing varies by at most 10⁻¹⁰ s).
void appendTime(std::string& text, std::size_t n, int rate)
{
    char digits[64];
    const double t = static_cast<double>(n) / rate;
    auto end = std::to_chars(digits, digits + sizeof digits, t, std::chars_format::fixed, 10).ptr;
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    text.append(digits, end);
}

std::string header(int channels)
{
    std::string line = "t (s),left";
    if (channels >= 2)
        line += ",right";
    for (int c = 3; c <= channels; ++c)
        line += ",channel " + std::to_string(c);
    return line + "\r\n";
}

// The rows of the samples read: floats as floats, the others as doubles.
template <typename Sample>
void appendRows(std::string& text, const std::vector<Sample>& samples, int channels, int rate)
{
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    for (std::size_t n = 0; n < frames; ++n) {
        appendTime(text, n, rate);
        for (int c = 0; c < channels; ++c) {
            text.push_back(',');
            appendNumber(text, samples[n * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]);
        }
        text.append("\r\n");
    }
}

template <typename Sample>
std::string readAll(SNDFILE* sound, const SF_INFO& info, sf_count_t& framesRead)
{
    std::vector<Sample> samples(static_cast<std::size_t>(info.frames) *
                                static_cast<std::size_t>(info.channels));
    if constexpr (std::is_same_v<Sample, float>)
        framesRead = sf_readf_float(sound, samples.data(), info.frames);
    else
        framesRead = sf_readf_double(sound, samples.data(), info.frames);
    samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(framesRead, 0)) *
                   static_cast<std::size_t>(info.channels));
    std::string text = header(info.channels);
    text.reserve(samples.size() * 24);
    appendRows(text, samples, info.channels, info.samplerate);
    return text;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

// A WAV file's "data" chunk: the bytes of sound its header promises and
// those the file holds after it. libsndfile reads what is there of a cut
// file without a word, so this is checked here.
struct DataChunk {
    std::size_t promised = 0, held = 0;
};
std::optional<DataChunk> wavDataChunk(std::string_view bytes)
{
    if (bytes.substr(0, 4) != "RIFF" || bytes.size() < 12)
        return std::nullopt;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::size_t size = littleEndian32(bytes, at + 4);
        if (bytes.substr(at, 4) == "data")
            return DataChunk{size, bytes.size() - (at + 8)};
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace

bool looksLikeSound(std::string_view bytes)
{
    const auto at = [&](std::size_t offset, std::string_view magic) {
        return bytes.size() >= offset + magic.size() && bytes.substr(offset, magic.size()) == magic;
    };
    return ((at(0, "RIFF") || at(0, "RIFX") || at(0, "RF64")) && at(8, "WAVE")) ||
           (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC"))) || at(0, "fLaC") || at(0, "OggS");
}

SoundText soundFileText(std::string_view bytes)
{
    MemoryFile memory{bytes};
    SF_VIRTUAL_IO io{length, seek, read, write, tell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SoundClose> sound(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!sound)
        return {{}, std::string("it is not a sound file that can be read (") +
                        sf_strerror(nullptr) + ")"};
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 1)
        return {{}, "it holds no sound"};
    if (const std::optional<DataChunk> data = wavDataChunk(bytes); data && data->held < data->promised)
        return {{}, "it is cut short: its header promises " + groupedCount(data->promised) +
                        " bytes of sound, and it holds " + groupedCount(data->held)};
    const auto frames = static_cast<std::size_t>(info.frames);
    if (frames > mostSoundFrames)
        return {{}, "it holds " + groupedCount(frames) + " samples a channel; the box takes at most " +
                        groupedCount(mostSoundFrames) + " (cut the recording shorter)"};
    sf_count_t framesRead = 0;
    // Integer samples come scaled to -1...1 as doubles, exactly.
    std::string text = holdsFloats(info.format) ? readAll<float>(sound.get(), info, framesRead)
                                                : readAll<double>(sound.get(), info, framesRead);
    if (framesRead < info.frames)
        return {{}, "it is cut short: its header promises " + groupedCount(frames) +
                        " samples a channel, and it holds " +
                        groupedCount(static_cast<std::size_t>(std::max<sf_count_t>(framesRead, 0)))};
    return {std::move(text), {}};
}

std::string sampleTime(std::size_t n, int rate)
{
    std::string text;
    appendTime(text, n, rate);
    return text;
}

std::string sampleValue(double value)
{
    std::string text;
    appendNumber(text, value);
    return text;
}

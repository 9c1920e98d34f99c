// Any bytes as a sound file (after "RIFF" ... "WAVE" when the input does not
// begin as a sound file does, so that most inputs reach the WAV reader): it
// never crashes, and gives either a refusal or a box whose header names
// the channels and whose every row holds a time and a sample a channel.

#include "fuzz_check.h"
#include "sound/sound_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!looksLikeSound(bytes))
        bytes = std::string("RIFF\xff\xff\xff\x7fWAVE", 12) + bytes;
    const SoundText sound = soundFileText(bytes);
    fuzzCheck(sound.text.empty() != sound.refusal.empty(), "neither text nor refusal, or both");
    if (sound.text.empty())
        return 0;
    fuzzCheck(sound.text.rfind("t (s),left", 0) == 0, "no header");
    const std::size_t headerEnd = sound.text.find("\r\n");
    const auto fields = [](std::string_view line) {
        return std::count(line.begin(), line.end(), ',') + 1;
    };
    const auto columns = fields(std::string_view(sound.text).substr(0, headerEnd));
    std::size_t rows = 0;
    for (std::size_t at = headerEnd + 2; at < sound.text.size(); ++rows) {
        const std::size_t end = sound.text.find("\r\n", at);
        fuzzCheck(end != std::string::npos, "a row without its line break");
        fuzzCheck(fields(std::string_view(sound.text).substr(at, end - at)) == columns,
                  "a row with another count of fields than the header");
        at = end + 2;
    }
    fuzzCheck(rows >= 1 && rows <= mostSoundFrames, "rows outside 1 ... the limit");
    return 0;
}

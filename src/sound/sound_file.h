#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Sound files (WAV, FLAC, Ogg Vorbis, AIFF: what libsndfile reads) as data:
// a row a sample, "t (s),left[,right]", t counted from 0 at the file's
// sample rate; integer samples scaled to -1...1, floating ones as the file
// holds them.

// The most samples a channel brings into the box: 23.8 s at 44 100 Hz.
inline constexpr std::size_t mostSoundFrames = 1048576;

// Whether bytes begin as a sound file does (RIFF/RIFX/RF64 WAVE, FORM AIFF,
// fLaC, OggS).
bool looksLikeSound(std::string_view bytes);

// The box text of a sound file's bytes (CR LF line breaks), or why not:
// "it is not a sound file that can be read (...)", "it is cut short: ...",
// "it holds N samples a channel; the box takes at most 1 048 576 ...".
struct SoundText {
    std::string text;
    std::string refusal; // empty when the text can be used
};
SoundText soundFileText(std::string_view bytes);

// Sample n's time at the rate, in seconds to ten decimals without trailing
// zeros ("0.0000226757"); and a sample's value as the shortest plain
// decimals that read back as it ("0.000030517578125").
std::string sampleTime(std::size_t n, int rate);
std::string sampleValue(double value);

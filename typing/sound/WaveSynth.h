// The game's two sounds, made by code: a short, pleasant loop played while a game runs
// and a short bark for a wrong word, as 16-bit mono PCM ".wav" files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace krsound {

constexpr int kSampleRate = 22050;

// About two seconds of a bell-like pentatonic tune over a soft bass; every note dies
// away to silence at its end, so the loop joins without a click.
std::vector<int16_t> LoopSamples();
// A quarter of a second: a harmonic-rich tone falling in pitch, with breath noise,
// a sharp onset and a quick decay.
std::vector<int16_t> BarkSamples();

// The bytes of a ".wav" file (RIFF, WAVE, fmt, data) holding these samples.
std::string WaveFile(const std::vector<int16_t>& samples, int rate = kSampleRate);

}  // namespace krsound

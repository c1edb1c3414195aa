#include "WaveSynth.h"

#include <cmath>

namespace krsound {

namespace {
constexpr double kPi = 3.14159265358979323846;

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

int16_t ToSample(double v) {
  if (v > 1.0) v = 1.0;
  if (v < -1.0) v = -1.0;
  return static_cast<int16_t>(std::lround(v * 32767.0));
}

// Adds a decaying note of `len` samples at `at`: a sine with two soft overtones, a
// 4 ms attack and a 10 ms fade to exactly zero at its end.
void AddNote(std::vector<double>& out, size_t at, size_t len, double hz, double gain, double decay) {
  const size_t attack = kSampleRate * 4 / 1000, fade = kSampleRate / 100;
  for (size_t i = 0; i < len && at + i < out.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double env = std::exp(-t / decay);
    if (i < attack) env *= static_cast<double>(i) / attack;
    if (i + fade > len) env *= static_cast<double>(len - i) / fade;
    double w = 2 * kPi * hz * t;
    out[at + i] += gain * env * (std::sin(w) + 0.3 * std::sin(2 * w) + 0.1 * std::sin(3 * w));
  }
}

std::vector<int16_t> ToSamples(const std::vector<double>& v) {
  std::vector<int16_t> s;
  s.reserve(v.size());
  for (double x : v) s.push_back(ToSample(x));
  return s;
}

void PutLE(std::string& s, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::vector<int16_t> LoopSamples() {
  // eight quavers at 120 beats a minute over two bass notes
  static const int kTune[] = {72, 76, 79, 76, 74, 79, 81, 79};
  const size_t quaver = kSampleRate / 4;
  std::vector<double> out(quaver * 8, 0.0);
  for (size_t n = 0; n < 8; ++n) AddNote(out, n * quaver, quaver, NoteHz(kTune[n]), 0.22, 0.12);
  AddNote(out, 0, quaver * 4, NoteHz(48), 0.18, 0.45);
  AddNote(out, quaver * 4, quaver * 4, NoteHz(43), 0.18, 0.45);
  return ToSamples(out);
}

std::vector<int16_t> BarkSamples() {
  const size_t len = kSampleRate / 4;
  std::vector<double> out(len, 0.0);
  uint32_t x = 0x9E3779B9u;  // fixed seed: the same file on every build
  double phase = 0.0, noise = 0.0;
  const size_t attack = kSampleRate * 3 / 1000, fade = kSampleRate / 100;
  for (size_t i = 0; i < len; ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double hz = 330.0 + 320.0 * std::exp(-t / 0.045);  // the "wuff": pitch falls fast
    phase += 2 * kPi * hz / kSampleRate;
    double tone = 0.0;
    for (int k = 1; k <= 7; ++k) {
      double f = k * hz;
      double formant = std::exp(-std::pow((f - 1100.0) / 700.0, 2.0));  // a throaty peak
      tone += (0.35 + formant) / k * std::sin(k * phase);
    }
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    noise += 0.35 * ((static_cast<double>(x) / 4294967295.0) * 2.0 - 1.0 - noise);  // low-passed
    double env = std::exp(-t / 0.07);
    if (i < attack) env *= static_cast<double>(i) / attack;
    if (i + fade > len) env *= static_cast<double>(len - i) / fade;
    out[i] = 0.5 * env * (tone * 0.55 + noise * 0.9);
  }
  return ToSamples(out);
}

std::string WaveFile(const std::vector<int16_t>& samples, int rate) {
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  std::string s = "RIFF";
  PutLE(s, 36 + data, 4);
  s += "WAVEfmt ";
  PutLE(s, 16, 4);
  PutLE(s, 1, 2);  // PCM
  PutLE(s, 1, 2);  // mono
  PutLE(s, static_cast<uint32_t>(rate), 4);
  PutLE(s, static_cast<uint32_t>(rate) * 2, 4);  // bytes a second
  PutLE(s, 2, 2);                                // bytes a frame
  PutLE(s, 16, 2);                               // bits a sample
  s += "data";
  PutLE(s, data, 4);
  for (int16_t v : samples) PutLE(s, static_cast<uint16_t>(v), 2);
  return s;
}

}  // namespace krsound

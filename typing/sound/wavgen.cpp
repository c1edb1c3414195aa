// Writes the game's sounds, "Openin.wav" and "bark.wav", into the folder given as the
// only argument; the build runs it so they lie beside KeyRally.exe.
#include <cstdio>
#include <string>

#include "WaveSynth.h"

namespace {
bool Write(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: krwavgen FOLDER\n");
    return 2;
  }
  std::string dir = argv[1];
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
  if (!Write(dir + "Openin.wav", krsound::WaveFile(krsound::LoopSamples())) ||
      !Write(dir + "bark.wav", krsound::WaveFile(krsound::BarkSamples()))) {
    std::fprintf(stderr, "krwavgen: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}

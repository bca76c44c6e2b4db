// Synthesises the default chime, a struck bell, as a 16-bit PCM mono WAV file.
//
// Usage: make_chime OUT.wav          the chime, about 1.3 s
//        make_chime --short OUT.wav  a 0.12 s beep and 0.08 s of silence, for tests that count
//                                    strokes played back to back
//
// Both sounds end in exact digital silence, so consecutive strokes can be told apart.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace zdz {
namespace {

constexpr int kRate = 44100;

int samples(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

// Raised-cosine ramp from 0 to 1 over [0, 1].
double ramp(double t) { return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(t, 0.0, 1.0)); }

struct Partial {
  double ratio;      // to the strike note
  double amplitude;  // relative
  double decay;      // time constant, seconds
};

std::vector<double> bell() {
  // Inharmonic bell partials (hum, prime, tierce, quint, nominal and two upper ones); the
  // higher ones die away sooner, which is what makes the strike bright and the tail mellow.
  constexpr double kStrike = 784.0;  // G5
  const Partial partials[] = {
      {0.50, 0.45, 0.60}, {1.00, 1.00, 0.42}, {1.19, 0.55, 0.30}, {1.56, 0.40, 0.22},
      {2.00, 0.50, 0.18}, {2.51, 0.25, 0.12}, {3.00, 0.18, 0.08},
  };
  constexpr double kLength = 1.3, kAttack = 0.004, kFade = 0.05, kSilence = 0.03;

  std::vector<double> out(static_cast<std::size_t>(samples(kLength)), 0.0);
  const int sounding = samples(kLength - kSilence);
  const int fadeFrom = samples(kLength - kSilence - kFade);
  // The tail is exact zeros, not merely quiet: a recording of back-to-back strokes then shows
  // a gap between them, and the strokes do not click into one another.
  for (int i = 0; i < sounding; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (const Partial& p : partials) {
      v += p.amplitude * std::exp(-t / p.decay) *
           std::sin(2 * std::numbers::pi * kStrike * p.ratio * t);
    }
    const double fade =
        i < fadeFrom ? 1.0 : ramp(static_cast<double>(sounding - i) / (sounding - fadeFrom));
    out[static_cast<std::size_t>(i)] = v * ramp(t / kAttack) * fade;
  }
  return out;
}

std::vector<double> shortStroke() {
  constexpr double kFreq = 880.0, kTone = 0.12, kEdge = 0.01, kSilence = 0.08;
  std::vector<double> out(static_cast<std::size_t>(samples(kTone + kSilence)), 0.0);
  const int tone = samples(kTone);
  for (int i = 0; i < tone; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double edge = std::min(ramp(t / kEdge), ramp((kTone - t) / kEdge));
    out[static_cast<std::size_t>(i)] = edge * std::sin(2 * std::numbers::pi * kFreq * t);
  }
  return out;
}

std::vector<std::int16_t> toPcm(const std::vector<double>& in, double peak) {
  double max = 0;
  for (double v : in) max = std::max(max, std::abs(v));
  const double gain = max > 0 ? peak * 32767.0 / max : 0.0;
  std::vector<std::int16_t> out;
  out.reserve(in.size());
  for (double v : in) out.push_back(static_cast<std::int16_t>(std::lround(v * gain)));
  return out;
}

void put16(std::ofstream& f, std::uint32_t v) {
  const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
  f.write(b, 2);
}

void put32(std::ofstream& f, std::uint32_t v) {
  put16(f, v & 0xFFFF);
  put16(f, v >> 16);
}

bool writeWav(const std::string& path, const std::vector<std::int16_t>& pcm) {
  std::ofstream f(path, std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
  f.write("RIFF", 4);
  put32(f, 36 + dataBytes);
  f.write("WAVEfmt ", 8);
  put32(f, 16);
  put16(f, 1);  // PCM
  put16(f, 1);  // mono
  put32(f, kRate);
  put32(f, kRate * 2);  // bytes per second
  put16(f, 2);          // bytes per frame
  put16(f, 16);         // bits per sample
  f.write("data", 4);
  put32(f, dataBytes);
  for (std::int16_t s : pcm) put16(f, static_cast<std::uint16_t>(s));
  f.close();
  if (!f) std::cerr << "make_chime: cannot write " << path << '\n';
  return static_cast<bool>(f);
}

}  // namespace
}  // namespace zdz

int main(int argc, char** argv) {
  using namespace zdz;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] != "--short") {
    return writeWav(args[0], toPcm(bell(), 0.8)) ? 0 : 1;
  }
  if (args.size() == 2 && args[0] == "--short") {
    return writeWav(args[1], toPcm(shortStroke(), 0.5)) ? 0 : 1;
  }
  std::cerr << "usage: make_chime [--short] OUT.wav\n";
  return 2;
}

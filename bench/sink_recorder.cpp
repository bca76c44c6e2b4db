// Records a PulseAudio source for some seconds and prints, in real time (CLOCK_REALTIME,
// seconds), each sound heard with its first and last audible sample, and each loud mark:
//   sink_recorder SOURCE SECONDS   ->   "sound START END" and "mark TIME" lines
// Sounds are separated by at least 2 ms below the silence level. A mark is a sample above half
// of full scale after 5 ms without one: a stroke that opens louder than it goes on shows where
// it begins even when it follows the previous one without a gap.

#include <pulse/error.h>
#include <pulse/simple.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = kRate / 100;        // 10 ms per read
constexpr int kSilence = 64;               // about -54 dBFS
constexpr int kMinGap = kRate * 2 / 1000;  // 2 ms
constexpr int kMark = 16384;
constexpr int kMarkRest = kRate * 5 / 1000;  // 5 ms

double RealNow() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE SECONDS\n", argv[0]);
    return 2;
  }
  const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(kChunk * sizeof(int16_t));
  int error = 0;
  pa_simple* rec = pa_simple_new(nullptr, "zdz-bench-recorder", PA_STREAM_RECORD, argv[1], "bench",
                                 &spec, nullptr, &attr, &error);
  if (!rec) {
    std::fprintf(stderr, "sink_recorder: %s\n", pa_strerror(error));
    return 1;
  }
  const long total = std::lround(std::atof(argv[2]) * kRate);
  std::vector<int16_t> samples(static_cast<size_t>(total));
  // Each read returns no earlier than its last sample was rendered, so the earliest
  // (read time - samples so far) is the closest estimate of the first sample's time.
  double first_sample = 1e300;
  for (long done = 0; done < total;) {
    const long n = std::min<long>(kChunk, total - done);
    if (pa_simple_read(rec, samples.data() + done, static_cast<size_t>(n) * sizeof(int16_t),
                       &error) < 0) {
      std::fprintf(stderr, "sink_recorder: %s\n", pa_strerror(error));
      pa_simple_free(rec);
      return 1;
    }
    done += n;
    first_sample = std::min(first_sample, RealNow() - static_cast<double>(done) / kRate);
  }
  pa_simple_free(rec);

  long start = -1, quiet = 0, last_loud = -kMarkRest;
  const auto when = [&](long i) { return first_sample + static_cast<double>(i) / kRate; };
  for (long i = 0; i < total; ++i) {
    const int level = std::abs(samples[static_cast<size_t>(i)]);
    if (level > kMark) {
      if (i - last_loud >= kMarkRest) std::printf("mark %.4f\n", when(i));
      last_loud = i;
    }
    if (level > kSilence) {
      if (start < 0) start = i;
      quiet = 0;
    } else if (start >= 0 && ++quiet == kMinGap) {
      std::printf("sound %.4f %.4f\n", when(start), when(i - kMinGap + 1));
      start = -1;
    }
  }
  if (start >= 0) std::printf("sound %.4f %.4f\n", when(start), when(total));
  return 0;
}

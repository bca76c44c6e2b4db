#include "platform/qt/pulse_sound.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace zdz::qt {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// A sine tone at half of full scale.
void WriteTone(const std::string& path, double seconds, int rate = 44100, int channels = 1,
               int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
  SF_INFO info{0, rate, channels, format, 0, 0};
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  const auto frames = static_cast<sf_count_t>(seconds * rate);
  std::vector<float> data(static_cast<std::size_t>(frames * channels));
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * 880 * double(i / channels) / rate));
  }
  sf_writef_float(f, data.data(), frames);
  sf_close(f);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// This program's playback streams on the server, as pactl's "Sample Spec" of each.
std::vector<std::string> SinkInputs() {
  std::vector<std::string> ours;
  std::unique_ptr<FILE, int (*)(FILE*)> p(popen("pactl list sink-inputs 2>/dev/null", "r"), pclose);
  std::string spec;
  char buf[1024];
  while (p && std::fgets(buf, sizeof buf, p.get())) {
    const std::string line = buf;
    if (const auto at = line.find("Sample Spec"); at != std::string::npos) spec = line.substr(at);
    if (line.find("application.name = \"Zoduzazu\"") != std::string::npos) ours.push_back(spec);
  }
  return ours;
}

bool WaitForSinkInputs(std::size_t count) {
  for (int i = 0; i < 100; ++i, usleep(10'000)) {
    if (SinkInputs().size() == count) return true;
  }
  return false;
}

// The loudest sample (0 to 1) on the null sink's monitor while `play` runs.
double PeakWhile(const std::function<void()>& play) {
  std::unique_ptr<FILE, int (*)(FILE*)> p(
      popen("echo $$; exec parec -d test_sink.monitor --raw --format=s16le --rate=8000 "
            "--channels=1 --latency-msec=20",
            "r"),
      pclose);
  int pid = 0;
  short s = 0;
  if (!p || std::fscanf(p.get(), "%d", &pid) != 1 || std::fgetc(p.get()) != '\n') return -1;
  std::fread(&s, sizeof s, 1, p.get());  // samples flow: the recording has begun
  play();
  usleep(100'000);  // the sink's last samples
  kill(pid, SIGTERM);
  int peak = 0;
  while (std::fread(&s, sizeof s, 1, p.get()) == 1) peak = std::max(peak, std::abs(int{s}));
  return peak / 32768.0;
}

// Sends `sig` to the session's sound server; SIGCONT on destruction.
struct ServerSignal {
  explicit ServerSignal(int sig) {
    const std::string command =
        "pgrep -f -- '^pulseaudio .*" + std::string(std::getenv("ZDZ_SESSION_DIR")) + "/pulse.pa'";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(command.c_str(), "r"), pclose);
    if (p && std::fscanf(p.get(), "%d", &pid) == 1) kill(pid, sig);
  }
  ~ServerSignal() {
    if (pid > 0) kill(pid, SIGCONT);
  }
  pid_t pid = -1;
};

class PulseSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("PULSE_SERVER")) {
      GTEST_SKIP() << "no PulseAudio server; run under tests/tools/headless-session.sh";
    }
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_ = fs::temp_directory_path() / ("zdz-sound-test-" + std::to_string(getpid()));
  PulseSound sound_;
};

TEST_F(PulseSoundTest, UnplayableFilesOrAnAbsentServerFailQuickly) {
  WriteTone(Path("good.wav"), 0.3);
  const std::string good = ReadBytes(Path("good.wav"));
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty.wav", ""},
      {"cut.wav", good.substr(0, 20)},
      {"nodata.wav", good.substr(0, 40) + std::string(4, '\0')},
      {"avi.wav", good.substr(0, 8) + "AVI " + good.substr(12)},
      {"text.wav", "RIFF but not really\n"},
  };
  WriteTone(Path("tone.flac"), 0.3, 44100, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  // libsndfile reads FLAC, but a chime is a WAV file on every desktop.
  std::vector<std::string> names = {Path("missing.wav"), Path("dir.wav"), Path("fifo.wav"),
                                    "/dev/zero", Path("tone.flac")};
  for (const auto& [name, bytes] : files) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    names.push_back(Path(name));
  }
  fs::create_directory(Path("dir.wav"));
  mkfifo(Path("fifo.wav").c_str(), 0600);
  for (const std::string& name : names) {
    for (const unsigned flags : {kSndNoDefault, kSndAsync | kSndNoDefault}) {
      const auto start = Clock::now();
      EXPECT_FALSE(sound_.Play(name, flags)) << name;
      EXPECT_LT(Seconds(start), 2.0) << name;
    }
  }

  const std::string server = std::getenv("PULSE_SERVER");
  setenv("PULSE_SERVER", ("unix:" + Path("no-such-socket")).c_str(), 1);
  PulseSound offline;
  const auto start = Clock::now();
  EXPECT_FALSE(offline.Play(Path("good.wav"), kSndNoDefault));
  offline.Play(Path("good.wav"), kSndAsync);  // fails later, on its own thread
  EXPECT_TRUE(offline.WaitIdle(std::chrono::milliseconds(500)));
  EXPECT_LT(Seconds(start), 2.0);
  EXPECT_TRUE(offline.Play("", kSndAsync));  // stopping needs no server
  setenv("PULSE_SERVER", server.c_str(), 1);
}

TEST_F(PulseSoundTest, EveryWaveFormatIsHeardForItsLength) {
  const struct {
    const char* name;
    int rate, channels, format;
  } files[] = {
      {"stereo-float.wav", 48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
      {"double.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
      {"8k-u8.wav", 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
      {"surround.wav", 48000, 8, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
      {"int32-384k.wav", 384000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_32},
      {"many-channels.wav", 22050, 40, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
      {"ulaw.wav", 8000, 1, SF_FORMAT_WAV | SF_FORMAT_ULAW},
      {"ima-adpcm.wav", 22050, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM},
      {"gsm.wav", 8000, 1, SF_FORMAT_WAV | SF_FORMAT_GSM610},
      {"ms-adpcm.wav", 22050, 2, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM},
  };
  for (const auto& f : files) {
    WriteTone(Path(f.name), 0.2, f.rate, f.channels, f.format);
    double elapsed = 0;
    const double peak = PeakWhile([&] {
      const auto start = Clock::now();
      EXPECT_TRUE(sound_.Play(Path(f.name), kSndNoDefault)) << f.name;
      elapsed = Seconds(start);
    });
    EXPECT_GE(elapsed, 0.15) << f.name << ": a synchronous sound returned early";
    // A codec read without its scale comes out silent.
    EXPECT_GT(peak, 0.2) << f.name << " was not heard";
  }
  EXPECT_TRUE(SinkInputs().empty());

  // A file cut short in its data plays what it holds.
  WriteTone(Path("long.wav"), 2.0);
  const std::string bytes = ReadBytes(Path("long.wav"));
  // So does one whose data size claims 2 GB, and one with a LIST chunk before its format.
  const std::string cut = bytes.substr(0, bytes.size() / 8);
  std::ofstream(Path("cut.wav"), std::ios::binary) << cut;
  std::ofstream(Path("lying.wav"), std::ios::binary)
      << cut.substr(0, 40) << "\xf0\xff\xff\x7f" << cut.substr(44);
  std::ofstream(Path("list.wav"), std::ios::binary)
      << cut.substr(0, 12) << "LIST" << std::string("\x03\0\0\0abc\0", 8) << cut.substr(12);
  for (const char* name : {"cut.wav", "lying.wav", "list.wav"}) {
    const auto start = Clock::now();
    EXPECT_TRUE(sound_.Play(Path(name), kSndNoDefault)) << name;
    EXPECT_GT(Seconds(start), 0.2) << name;
    EXPECT_LT(Seconds(start), 1.0) << name;
  }
}

// Every request ends the sound before it: async, sync, a bad file, the empty name, the
// destructor, and requests from several threads at once.
TEST_F(PulseSoundTest, EachRequestEndsTheSoundBeforeIt) {
  // Told apart on the server by their sample rates.
  WriteTone(Path("first.wav"), 3.0, 44100);
  WriteTone(Path("second.wav"), 3.0, 22050);
  WriteTone(Path("short.wav"), 0.3, 32000);
  const auto start = Clock::now();
  EXPECT_TRUE(sound_.Play(Path("first.wav"), kSndAsync));
  EXPECT_LT(Seconds(start), 0.5) << "an asynchronous sound blocked";
  ASSERT_TRUE(WaitForSinkInputs(1));
  ASSERT_TRUE(sound_.Play(Path("second.wav"), kSndAsync));
  usleep(200'000);
  const auto inputs = SinkInputs();
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_NE(inputs[0].find("22050Hz"), std::string::npos) << inputs[0];

  EXPECT_TRUE(sound_.Play(Path("short.wav"), kSndNoDefault));
  EXPECT_FALSE(sound_.Busy());
  EXPECT_TRUE(WaitForSinkInputs(0));

  for (const std::string& stop : {std::string(""), Path("missing.wav")}) {
    ASSERT_TRUE(sound_.Play(Path("first.wav"), kSndAsync));
    ASSERT_TRUE(WaitForSinkInputs(1));
    sound_.Play(stop, kSndAsync);
    EXPECT_TRUE(sound_.WaitIdle(std::chrono::milliseconds(500))) << stop;
    EXPECT_TRUE(WaitForSinkInputs(0)) << stop;
  }

  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) sound_.Play((t + i) % 3 ? Path("first.wav") : "", kSndAsync);
    });
  }
  for (auto& t : threads) t.join();
  usleep(200'000);
  EXPECT_LE(SinkInputs().size(), 1u);

  auto doomed = std::make_unique<PulseSound>();
  ASSERT_TRUE(doomed->Play(Path("first.wav"), kSndAsync));
  sound_.Play("", kSndAsync);
  ASSERT_TRUE(WaitForSinkInputs(1));
  doomed.reset();
  EXPECT_TRUE(SinkInputs().empty());
}

TEST_F(PulseSoundTest, AStoppedServerDelaysTheChimeNeverTheProgram) {
  WriteTone(Path("tone.wav"), 0.3);
  constexpr double kLimit = 2.6;  // the margin and some slack for a loaded machine
  {
    ServerSignal server(SIGSTOP);  // before the chime
    ASSERT_GT(server.pid, 0);
    const auto start = Clock::now();
    EXPECT_FALSE(sound_.Play(Path("tone.wav"), kSndNoDefault));
    EXPECT_LT(Seconds(start), 0.3 + kLimit);
  }
  {
    std::unique_ptr<ServerSignal> server;  // in the middle of three strokes
    std::thread stopper([&] {
      usleep(400'000);
      server = std::make_unique<ServerSignal>(SIGSTOP);
    });
    const auto start = Clock::now();
    sound_.PlayStrokes(Path("tone.wav"), 3);
    const double elapsed = Seconds(start);
    stopper.join();
    ASSERT_GT(server->pid, 0);
    EXPECT_LT(elapsed, 0.9 + kLimit);
  }
  EXPECT_TRUE(sound_.Play(Path("tone.wav"), kSndNoDefault)) << "continued, the server plays";
}

TEST_F(PulseSoundTest, AFileThatClaimsHoursPlaysNoLongerThanTheCap) {
  // 1 GB of silence in a sparse file: the header's data size is the file's.
  WriteTone(Path("head.wav"), 0.01);
  std::string bytes = ReadBytes(Path("head.wav")).substr(0, 44);
  const std::uint32_t data = 1u << 30;
  for (int i = 0; i < 4; ++i) bytes[40 + i] = static_cast<char>(data >> (8 * i));
  std::ofstream(Path("huge.wav"), std::ios::binary) << bytes;
  ASSERT_EQ(truncate(Path("huge.wav").c_str(), 44 + data), 0);
  PulseSound sound(/*maxStrokeSeconds=*/1);
  const auto start = Clock::now();
  sound.Play(Path("huge.wav"), kSndNoDefault);
  EXPECT_LT(Seconds(start), 3.0);
}

// Run on its own by CTest: it ends the session's server.
TEST_F(PulseSoundTest, DISABLED_AKilledServerEndsTheChimeAtOnce) {
  WriteTone(Path("tone.wav"), 1.0);
  std::thread killer([] {
    usleep(500'000);
    ServerSignal kill(SIGKILL);
  });
  const auto start = Clock::now();
  EXPECT_FALSE(sound_.PlayStrokes(Path("tone.wav"), 5));
  const double elapsed = Seconds(start);
  killer.join();
  EXPECT_LT(elapsed, 1.5);
}

}  // namespace
}  // namespace zdz::qt

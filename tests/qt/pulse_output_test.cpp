#include "platform/qt/pulse_output.h"

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
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/posix_file.h"
#include "platform/wave/chime_player.h"

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

// Polls the server until `ready`, for as long as only a hang takes.
bool WaitUntil(const std::function<bool()>& ready) {
  for (int i = 0; i < 3000; ++i, usleep(10'000)) {
    if (ready()) return true;
  }
  return false;
}

bool WaitForSinkInputs(std::size_t count) {
  return WaitUntil([count] { return SinkInputs().size() == count; });
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
  if (std::fread(&s, sizeof s, 1, p.get()) != 1) return -1;  // samples flow: recording began
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

class PulseOutputTest : public ::testing::Test {
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
  PulseOutput output_;
  wave::ChimePlayer sound_{OpenPosixFile, [this] { return &output_; }};
};

TEST_F(PulseOutputTest, UnplayableFilesOrAnAbsentServerFail) {
  // What a file holds is the reading rule's business (wave_image_test); here what the file
  // system gives: nothing, a folder, a pipe nobody writes, an endless device.
  WriteTone(Path("good.wav"), 0.3);
  fs::create_directory(Path("dir.wav"));
  mkfifo(Path("fifo.wav").c_str(), 0600);
  const std::string names[] = {Path("missing.wav"), Path("dir.wav"), Path("fifo.wav"), "/dev/zero"};
  for (const std::string& name : names) {
    for (const unsigned flags : {kSndNoDefault, kSndAsync | kSndNoDefault}) {
      EXPECT_FALSE(sound_.Play(name, flags)) << name;
    }
  }

  const std::string server = std::getenv("PULSE_SERVER");
  setenv("PULSE_SERVER", ("unix:" + Path("no-such-socket")).c_str(), 1);
  {
    PulseOutput output;
    wave::ChimePlayer offline(OpenPosixFile, [&] { return &output; });
    EXPECT_FALSE(offline.Play(Path("good.wav"), kSndNoDefault));
    offline.Play(Path("good.wav"), kSndAsync);  // fails later, on its own thread
    EXPECT_TRUE(offline.Play("", kSndAsync));   // stopping needs no server
  }  // the worker, failing, is joined: one that hung on the absent server would hang here
  setenv("PULSE_SERVER", server.c_str(), 1);
}

TEST_F(PulseOutputTest, EveryWaveFormatIsHeardForItsLength) {
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
}

// Every request ends the sound before it: async, sync, a bad file, the empty name, the
// destructor, and requests from several threads at once.
TEST_F(PulseOutputTest, EachRequestEndsTheSoundBeforeIt) {
  // Told apart on the server by their sample rates; long enough that each is still playing
  // when a busy machine gets round to the next request.
  WriteTone(Path("first.wav"), 30.0, 44100);
  WriteTone(Path("second.wav"), 30.0, 22050);
  WriteTone(Path("short.wav"), 0.3, 32000);
  // An asynchronous sound returns while it plays.
  EXPECT_TRUE(sound_.Play(Path("first.wav"), kSndAsync));
  ASSERT_TRUE(WaitForSinkInputs(1));
  ASSERT_TRUE(sound_.Play(Path("second.wav"), kSndAsync));
  EXPECT_TRUE(WaitUntil([] {
    const auto inputs = SinkInputs();
    return inputs.size() == 1 && inputs[0].find("22050Hz") != std::string::npos;
  })) << "the first sound goes on";

  EXPECT_TRUE(sound_.Play(Path("short.wav"), kSndNoDefault));
  EXPECT_TRUE(WaitForSinkInputs(0));

  for (const std::string& stop : {std::string(""), Path("missing.wav")}) {
    ASSERT_TRUE(sound_.Play(Path("first.wav"), kSndAsync));
    ASSERT_TRUE(WaitForSinkInputs(1));
    sound_.Play(stop, kSndAsync);
    EXPECT_TRUE(WaitForSinkInputs(0)) << stop;
  }

  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) sound_.Play((t + i) % 3 ? Path("first.wav") : "", kSndAsync);
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_TRUE(WaitUntil([] { return SinkInputs().size() <= 1; }));

  auto doomed = std::make_unique<PulseOutput>();
  ASSERT_TRUE(wave::ChimePlayer(OpenPosixFile, [&] {
                return doomed.get();
              }).Play(Path("first.wav"), kSndAsync));
  sound_.Play("", kSndAsync);
  ASSERT_TRUE(WaitForSinkInputs(1));
  doomed.reset();
  EXPECT_TRUE(SinkInputs().empty());
}

// Each play returns while the server is still stopped: the program never waits for it. (A
// play that did would hang here, until the test's time limit.)
TEST_F(PulseOutputTest, AStoppedServerDelaysTheChimeNeverTheProgram) {
  WriteTone(Path("tone.wav"), 0.3);
  {
    ServerSignal server(SIGSTOP);  // before the chime
    ASSERT_GT(server.pid, 0);
    EXPECT_FALSE(sound_.Play(Path("tone.wav"), kSndNoDefault));
  }
  {
    std::unique_ptr<ServerSignal> server;  // once the strokes are playing
    std::thread stopper([&] {
      WaitForSinkInputs(1);
      server = std::make_unique<ServerSignal>(SIGSTOP);
    });
    sound_.PlayStrokes(Path("tone.wav"), 3);
    stopper.join();
    ASSERT_GT(server->pid, 0);
  }
  EXPECT_TRUE(sound_.Play(Path("tone.wav"), kSndNoDefault)) << "continued, the server plays";
}

// Run on its own by CTest: it ends the session's server.
TEST_F(PulseOutputTest, DISABLED_AKilledServerEndsTheChimeAtOnce) {
  WriteTone(Path("tone.wav"), 20.0);
  std::thread killer([] {
    WaitForSinkInputs(1);
    ServerSignal kill(SIGKILL);
  });
  const auto start = Clock::now();
  EXPECT_FALSE(sound_.PlayStrokes(Path("tone.wav"), 5));
  const double elapsed = Seconds(start);
  killer.join();
  EXPECT_LT(elapsed, 50.0) << "the chime went on for its strokes' length, 100 s";
}

}  // namespace
}  // namespace zdz::qt

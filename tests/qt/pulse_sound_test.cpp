#include "platform/qt/pulse_sound.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace zdz {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::duration;

double Seconds(Clock::time_point since) { return duration<double>(Clock::now() - since).count(); }

// A sine tone with a short fade in and out.
void WriteTone(const std::string& path, double seconds, int rate = 44100, int channels = 1,
               int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  const auto frames = static_cast<sf_count_t>(seconds * rate);
  std::vector<float> data(static_cast<std::size_t>(frames * channels));
  for (sf_count_t i = 0; i < frames; ++i) {
    const double fade = std::min({1.0, i / (0.01 * rate), (frames - i) / (0.01 * rate)});
    const auto v = static_cast<float>(0.5 * fade * std::sin(2 * M_PI * 880 * i / rate));
    for (int c = 0; c < channels; ++c) data[static_cast<std::size_t>(i * channels + c)] = v;
  }
  EXPECT_EQ(sf_writef_float(f, data.data(), frames), frames);
  sf_close(f);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything written to stderr while it lives.
class StderrCapture {
 public:
  explicit StderrCapture(const std::string& path) : path_(path) {
    std::fflush(stderr);
    saved_ = dup(2);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    close(fd);
  }
  ~StderrCapture() { Restore(); }
  std::string Text() {
    Restore();
    return ReadBytes(path_);
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    saved_ = -1;
  }
  std::string path_;
  int saved_ = -1;
};

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class PulseSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zdz-sound-test-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// ---- without a working server ----

TEST_F(PulseSoundTest, UnplayableFilesReturnFalseQuicklyAndQuietly) {
  WriteTone(Path("good.wav"), 0.3);
  const std::string good = ReadBytes(Path("good.wav"));
  std::string random(4096, '\0');
  std::mt19937 gen(7);
  for (char& c : random) c = static_cast<char>(gen());

  const struct {
    const char* what;
    std::function<std::string()> make;
  } cases[] = {
      {"missing", [&] { return Path("missing.wav"); }},
      {"empty",
       [&] {
         WriteBytes(Path("empty.wav"), "");
         return Path("empty.wav");
       }},
      {"truncated header",
       [&] {
         WriteBytes(Path("cut.wav"), good.substr(0, 20));
         return Path("cut.wav");
       }},
      {"random bytes",
       [&] {
         WriteBytes(Path("rnd.wav"), random);
         return Path("rnd.wav");
       }},
      {"no data",
       [&] {
         WriteBytes(Path("nodata.wav"), good.substr(0, 40) + std::string(4, '\0'));
         return Path("nodata.wav");
       }},
      {"RIFF but not WAVE",
       [&] {
         WriteBytes(Path("avi.wav"), good.substr(0, 8) + "AVI " + good.substr(12));
         return Path("avi.wav");
       }},
      {"text",
       [&] {
         WriteBytes(Path("t.wav"), "RIFF but not really\n");
         return Path("t.wav");
       }},
      {"directory",
       [&] {
         fs::create_directory(Path("d.wav"));
         return Path("d.wav");
       }},
      {"fifo",
       [&] {
         mkfifo(Path("f.wav").c_str(), 0600);
         return Path("f.wav");
       }},
      {"endless device", [] { return std::string("/dev/zero"); }},
  };
  PulseSound sound;
  for (const auto& c : cases) {
    const std::string name = c.make();
    for (const unsigned flags : {kSndNoDefault, kSndAsync | kSndNoDefault}) {
      StderrCapture err(Path("stderr.txt"));
      const auto start = Clock::now();
      const bool played = sound.Play(name, flags);
      const double elapsed = Seconds(start);
      const std::string noise = err.Text();
      std::cout << c.what << (flags & kSndAsync ? " async" : " sync") << ": " << elapsed * 1000
                << " ms\n";
      EXPECT_FALSE(played) << c.what;
      EXPECT_LT(elapsed, 2.0) << c.what;
      EXPECT_EQ(noise, "") << c.what;
    }
  }
  EXPECT_FALSE(sound.Busy());
}

TEST_F(PulseSoundTest, AbsentServerReturnsFalseQuicklyAndQuietly) {
  WriteTone(Path("good.wav"), 0.3);
  ScopedEnv server("PULSE_SERVER", ("unix:" + Path("no-such-socket")).c_str());
  PulseSound sound;
  for (const unsigned flags : {kSndNoDefault, kSndAsync | kSndNoDefault}) {
    StderrCapture err(Path("stderr.txt"));
    const auto start = Clock::now();
    const bool played = sound.Play(Path("good.wav"), flags);
    const double elapsed = Seconds(start);
    EXPECT_TRUE(sound.WaitIdle(std::chrono::milliseconds(500)));
    const std::string noise = err.Text();
    std::cout << "no server" << (flags & kSndAsync ? " async" : " sync") << ": " << elapsed * 1000
              << " ms\n";
    // An asynchronous sound connects on its own thread: the failure comes later, unseen.
    EXPECT_TRUE(!played || (flags & kSndAsync));
    EXPECT_LT(elapsed, 2.0);
    EXPECT_EQ(noise, "");
  }
  // Stopping needs no server.
  EXPECT_TRUE(sound.Play("", kSndAsync));
  EXPECT_FALSE(sound.Busy());
}

// ---- with the session's PulseAudio server and its null sink ----

// The sample formats of this program's playback streams on the server (the session
// keeps a silent stream of its own there, which is left out).
std::vector<std::string> SinkInputs() {
  std::vector<std::string> ours;
  std::unique_ptr<FILE, int (*)(FILE*)> p(popen("pactl list sink-inputs 2>/dev/null", "r"), pclose);
  if (!p) return ours;
  std::string spec;
  char buf[1024];
  while (std::fgets(buf, sizeof buf, p.get())) {
    const std::string line = buf;
    if (line.rfind("Sink Input #", 0) == 0) spec.clear();
    // pactl's "Sample Spec...: s16le 1ch 44100Hz" line.
    if (const auto at = line.find("Sample Spec"); at != std::string::npos) {
      const auto colon = line.find(": ", at);
      if (colon != std::string::npos) spec = line.substr(colon + 2);
    }
    if (line.find("application.name = \"Zoduzazu\"") != std::string::npos) ours.push_back(spec);
  }
  return ours;
}

// Polls until the server holds `count` playback streams; the seconds it took, or -1.
double WaitForSinkInputs(std::size_t count, double limit = 1.0) {
  const auto start = Clock::now();
  while (Seconds(start) < limit) {
    if (SinkInputs().size() == count) return Seconds(start);
    usleep(10'000);
  }
  return -1;
}

// Records the null sink's monitor while it lives; Peak() is the loudest sample, 0 to 1.
class Recorder {
 public:
  Recorder() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
      execlp("parec", "parec", "-d", "test_sink.monitor", "--raw", "--format=s16le", "--rate=44100",
             "--channels=1", "--latency-msec=20", nullptr);
      _exit(127);
    }
    close(fds[1]);
    fd_ = fds[0];
    reader_ = std::thread([this] {
      short buf[4096];
      ssize_t n;
      while ((n = read(fd_, buf, sizeof buf)) > 0) {
        for (ssize_t i = 0; i < n / 2; ++i) peak_ = std::max(peak_, std::abs(int{buf[i]}));
        started_ = true;
      }
    });
    while (!started_) usleep(5'000);  // samples flow: the recording has begun
  }
  ~Recorder() { Stop(); }
  double Peak() {
    Stop();
    return peak_ / 32768.0;
  }

 private:
  void Stop() {
    if (pid_ <= 0) return;
    usleep(100'000);  // the sink's last samples
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    if (reader_.joinable()) reader_.join();
    close(fd_);
  }
  pid_t pid_ = -1;
  int fd_ = -1;
  std::thread reader_;
  std::atomic<bool> started_{false};
  int peak_ = 0;
};

// The session's sound server, stopped (SIGSTOP) for a scope and continued at its end.
class StoppedServer {
 public:
  explicit StoppedServer(int sig = SIGSTOP) {
    const std::string command =
        "pgrep -f -- '^pulseaudio .*" + std::string(std::getenv("ZDZ_SESSION_DIR")) + "/pulse.pa'";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(command.c_str(), "r"), pclose);
    if (p && std::fscanf(p.get(), "%d", &pid_) == 1) kill(pid_, sig);
  }
  ~StoppedServer() { Continue(); }
  bool Stopped() const { return pid_ > 0; }
  void Continue() {
    if (pid_ > 0) kill(pid_, SIGCONT);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

class PulseSoundServerTest : public PulseSoundTest {
 protected:
  void SetUp() override {
    if (!std::getenv("PULSE_SERVER")) {
      GTEST_SKIP() << "no PulseAudio server; run under tests/tools/headless-session.sh";
    }
    PulseSoundTest::SetUp();
  }
};

TEST_F(PulseSoundServerTest, SyncPlayLastsAsLongAsTheSound) {
  WriteTone(Path("tone.wav"), 0.3);
  PulseSound sound;
  const auto start = Clock::now();
  EXPECT_TRUE(sound.Play(Path("tone.wav"), kSndNoDefault));
  const double elapsed = Seconds(start);
  std::cout << "0.3 s sound, sync play: " << elapsed * 1000 << " ms\n";
  EXPECT_GE(elapsed, 0.25);
  EXPECT_LT(elapsed, 1.5);
  EXPECT_TRUE(SinkInputs().empty());

  // Back to back, as the cuckoo strokes are.
  const auto start3 = Clock::now();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(sound.Play(Path("tone.wav"), kSndNoDefault));
  const double elapsed3 = Seconds(start3);
  std::cout << "three strokes: " << elapsed3 * 1000 << " ms\n";
  EXPECT_GE(elapsed3, 0.85);
  EXPECT_LT(elapsed3, 3.0);
}

TEST_F(PulseSoundServerTest, PlaysWhatLibsndfileReads) {
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
      {"alaw.wav", 8000, 1, SF_FORMAT_WAV | SF_FORMAT_ALAW},
      {"ima-adpcm.wav", 22050, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM},
      {"ms-adpcm.wav", 22050, 2, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM},
      {"gsm.wav", 8000, 1, SF_FORMAT_WAV | SF_FORMAT_GSM610},
      {"tone.flac", 44100, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
  };
  PulseSound sound;
  for (const auto& f : files) {
    WriteTone(Path(f.name), 0.2, f.rate, f.channels, f.format);
    Recorder recorder;
    const auto start = Clock::now();
    EXPECT_TRUE(sound.Play(Path(f.name), kSndNoDefault)) << f.name;
    const double elapsed = Seconds(start);
    EXPECT_GE(elapsed, 0.15) << f.name;
    EXPECT_LT(elapsed, 1.5) << f.name;
    // The tone is at half of full scale; a codec read without scaling comes out silent.
    EXPECT_GT(recorder.Peak(), 0.2) << f.name << " was not heard";
  }

  // A file cut short in its data plays what it holds.
  WriteTone(Path("long.wav"), 2.0);
  const std::string bytes = ReadBytes(Path("long.wav"));
  WriteBytes(Path("cut.wav"), bytes.substr(0, bytes.size() / 8));
  const auto start = Clock::now();
  EXPECT_TRUE(sound.Play(Path("cut.wav"), kSndNoDefault));
  EXPECT_LT(Seconds(start), 1.0);
}

TEST_F(PulseSoundServerTest, AsyncPlayReturnsAtOnceAndTheEmptyNameStopsIt) {
  WriteTone(Path("long.wav"), 3.0);
  PulseSound sound;
  auto start = Clock::now();
  EXPECT_TRUE(sound.Play(Path("long.wav"), kSndAsync | kSndNoDefault));
  const double returned = Seconds(start);
  std::cout << "async play returned after " << returned * 1000 << " ms\n";
  EXPECT_LT(returned, 0.2);
  EXPECT_TRUE(sound.Busy());
  EXPECT_GE(WaitForSinkInputs(1), 0) << "the sound never reached the server";
  usleep(300'000);
  EXPECT_TRUE(sound.Busy()) << "a 3 s sound ended early";

  start = Clock::now();
  EXPECT_TRUE(sound.Play("", kSndAsync | kSndNoDefault));
  const double stop_returned = Seconds(start);
  EXPECT_TRUE(sound.WaitIdle(std::chrono::milliseconds(1000)));
  const double idle = Seconds(start);
  const double gone = WaitForSinkInputs(0);
  std::cout << "stop: returned " << stop_returned * 1000 << " ms, worker idle " << idle * 1000
            << " ms, stream gone " << (Seconds(start)) * 1000 << " ms\n";
  EXPECT_LT(stop_returned, 0.2);
  EXPECT_LT(idle, 0.3);
  EXPECT_GE(gone, 0) << "the server still plays";
}

TEST_F(PulseSoundServerTest, NewRequestReplacesThePlayingSound) {
  // Told apart on the server by their sample rates.
  WriteTone(Path("first.wav"), 3.0, 44100);
  WriteTone(Path("second.wav"), 3.0, 22050);
  WriteTone(Path("short.wav"), 0.3, 32000);
  PulseSound sound;
  ASSERT_TRUE(sound.Play(Path("first.wav"), kSndAsync));
  ASSERT_GE(WaitForSinkInputs(1), 0);
  ASSERT_TRUE(sound.Play(Path("second.wav"), kSndAsync));
  usleep(200'000);
  auto inputs = SinkInputs();
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_NE(inputs[0].find("22050Hz"), std::string::npos) << inputs[0];

  // A sync play ends the async sound first and does not wait for it.
  const auto start = Clock::now();
  EXPECT_TRUE(sound.Play(Path("short.wav"), kSndNoDefault));
  const double elapsed = Seconds(start);
  std::cout << "sync 0.3 s over a playing async sound: " << elapsed * 1000 << " ms\n";
  EXPECT_LT(elapsed, 1.0);
  EXPECT_FALSE(sound.Busy());
  EXPECT_GE(WaitForSinkInputs(0), 0);

  // A bad file still ends the sound before it: every request stops what plays.
  ASSERT_TRUE(sound.Play(Path("first.wav"), kSndAsync));
  ASSERT_GE(WaitForSinkInputs(1), 0);
  EXPECT_FALSE(sound.Play(Path("missing.wav"), kSndAsync));
  EXPECT_TRUE(sound.WaitIdle(std::chrono::milliseconds(500)));
}

TEST_F(PulseSoundServerTest, DestructionStopsThePlayingSound) {
  WriteTone(Path("long.wav"), 5.0);
  auto sound = std::make_unique<PulseSound>();
  ASSERT_TRUE(sound->Play(Path("long.wav"), kSndAsync));
  ASSERT_GE(WaitForSinkInputs(1), 0);
  const auto start = Clock::now();
  sound.reset();
  const double elapsed = Seconds(start);
  std::cout << "destructor with a sound playing: " << elapsed * 1000 << " ms\n";
  EXPECT_LT(elapsed, 0.5);
  EXPECT_TRUE(SinkInputs().empty());
}

TEST_F(PulseSoundServerTest, RequestsFromManyThreadsLeaveOneSoundAtMost) {
  WriteTone(Path("long.wav"), 3.0);
  PulseSound sound;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) sound.Play((t + i) % 3 ? Path("long.wav") : "", kSndAsync);
    });
  }
  for (auto& t : threads) t.join();
  usleep(200'000);
  EXPECT_LE(SinkInputs().size(), 1u);
  sound.Play("", kSndAsync);
  EXPECT_TRUE(sound.WaitIdle(std::chrono::milliseconds(500)));
  EXPECT_GE(WaitForSinkInputs(0), 0);
}

TEST_F(PulseSoundServerTest, AStoppedServerDelaysTheChimeNeverTheProgram) {
  WriteTone(Path("tone.wav"), 0.3);
  PulseSound sound;
  constexpr double kLimit = 2.6;  // the margin and some slack for a loaded machine
  {
    StoppedServer server;  // before the chime
    ASSERT_TRUE(server.Stopped());
    const auto start = Clock::now();
    EXPECT_FALSE(sound.Play(Path("tone.wav"), kSndNoDefault));
    EXPECT_LT(Seconds(start), 0.3 + kLimit);
  }
  {
    std::unique_ptr<StoppedServer> server;  // in the middle of three strokes
    std::thread stopper([&] {
      usleep(400'000);
      server = std::make_unique<StoppedServer>();
    });
    const auto start = Clock::now();
    sound.PlayStrokes(Path("tone.wav"), 3);
    const double elapsed = Seconds(start);
    stopper.join();
    ASSERT_TRUE(server->Stopped());
    std::cout << "three strokes, server stopped after 0.4 s: " << elapsed * 1000 << " ms\n";
    EXPECT_LT(elapsed, 0.9 + kLimit);
  }
  // Continued, the server plays again.
  EXPECT_TRUE(sound.Play(Path("tone.wav"), kSndNoDefault));
}

TEST_F(PulseSoundServerTest, AFileThatClaimsHoursPlaysNoLongerThanTheCap) {
  // 1 GB of silence in a sparse file: the header's data size is the file's.
  WriteTone(Path("head.wav"), 0.01);
  std::string bytes = ReadBytes(Path("head.wav")).substr(0, 44);
  const std::uint32_t data = 1u << 30;
  for (int i = 0; i < 4; ++i) bytes[40 + i] = static_cast<char>(data >> (8 * i));
  WriteBytes(Path("huge.wav"), bytes);
  ASSERT_EQ(truncate(Path("huge.wav").c_str(), 44 + data), 0);
  PulseSound sound(/*maxStrokeSeconds=*/1);
  const auto start = Clock::now();
  sound.Play(Path("huge.wav"), kSndNoDefault);
  const double elapsed = Seconds(start);
  EXPECT_GE(elapsed, 0.9);
  EXPECT_LT(elapsed, 3.0);
}

// Run on its own by CTest: it ends the session's server.
TEST_F(PulseSoundServerTest, DISABLED_AKilledServerEndsTheChimeAtOnce) {
  WriteTone(Path("tone.wav"), 1.0);
  PulseSound sound;
  std::unique_ptr<StoppedServer> server;
  std::thread killer([&] {
    usleep(500'000);
    server = std::make_unique<StoppedServer>(SIGKILL);
  });
  const auto start = Clock::now();
  EXPECT_FALSE(sound.PlayStrokes(Path("tone.wav"), 5));
  const double elapsed = Seconds(start);
  killer.join();
  ASSERT_TRUE(server->Stopped());
  std::cout << "five 1 s strokes, server killed after 0.5 s: " << elapsed * 1000 << " ms\n";
  EXPECT_LT(elapsed, 1.5);
}

}  // namespace
}  // namespace zdz

#include "platform/qt/pulse_output.h"

#include <pulse/channelmap.h>
#include <pulse/sample.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/qt/pulse_stream.h"

namespace zdz::qt {

namespace {

// Small writes keep a stop request prompt; the server holds at most kBufferMs ahead.
constexpr int kChunkMs = 20;
constexpr int kBufferMs = 50;
constexpr auto kStopWait = std::chrono::seconds(1);
// What a stroke may take beyond its sound's length: connecting, the buffer, a slow server, a
// busy machine's late scheduling.
constexpr auto kMargin = std::chrono::seconds(3);

struct SndfileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};

}  // namespace

struct PulseOutput::Stream {
  ~Stream() {
    // The connection goes first, so the server drops the sound before the file closes.
    pa.reset();
    file.reset();
  }
  std::shared_ptr<const wave::Image> image;
  sf_count_t at = 0;  // libsndfile's reading position in the image
  std::unique_ptr<SNDFILE, SndfileCloser> file;
  std::unique_ptr<PulseStream> pa;
  int fileChannels = 0;
  int channels = 0;
  int rate = 0;
  sf_count_t frames = 0;
  int strokes = 1;
  PulseStream::Clock::time_point until;  // the whole sound's end
};

namespace {

using Stream = PulseOutput::Stream;

// libsndfile reads the image in memory as a file.
Stream& Of(void* user) { return *static_cast<Stream*>(user); }
sf_count_t Length(void* user) { return static_cast<sf_count_t>(Of(user).image->bytes.size()); }
sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  Stream& st = Of(user);
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? st.at : Length(user);
  st.at = std::clamp<sf_count_t>(base + offset, 0, Length(user));
  return st.at;
}
sf_count_t ReadAt(void* to, sf_count_t n, void* user) {
  Stream& st = Of(user);
  n = std::clamp<sf_count_t>(n, 0, Length(user) - st.at);
  std::copy_n(st.image->bytes.data() + st.at, n, static_cast<std::uint8_t*>(to));
  st.at += n;
  return n;
}
sf_count_t NoWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t Tell(void* user) { return Of(user).at; }

std::unique_ptr<Stream> OpenImage(std::shared_ptr<const wave::Image> image) {
  auto st = std::make_unique<Stream>();
  st->image = std::move(image);
  static SF_VIRTUAL_IO io{Length, Seek, ReadAt, NoWrite, Tell};
  SF_INFO sf{};
  st->file.reset(sf_open_virtual(&io, SFM_READ, &sf, st.get()));
  if (!st->file) return nullptr;
  if (sf.channels < 1 || sf.samplerate < 1 || static_cast<unsigned>(sf.samplerate) > PA_RATE_MAX ||
      sf.frames <= 0) {
    return nullptr;
  }
  st->fileChannels = sf.channels;
  st->channels = std::min(sf.channels, static_cast<int>(PA_CHANNELS_MAX));
  st->rate = sf.samplerate;
  st->frames = sf.frames;  // the image is already cut at the cap
  return st;
}

// When a stroke begun now must have been played, whatever the server does. Each stroke has its
// own deadline: a busy machine that delays every stroke a little still plays the whole chime,
// while a server that stops holds the clock for one stroke and the margin at most.
PulseStream::Clock::time_point StrokeDeadline(const Stream& st) {
  const auto length = std::chrono::microseconds(st.frames * 1'000'000 / st.rate);
  return std::min(PulseStream::Clock::now() + length + kMargin, st.until);
}

bool Connect(Stream& st, PulseStream::Clock::time_point deadline) {
  pa_sample_spec spec{};
  // Read as float: every format comes out at full scale. As 16-bit integers, float files would
  // need scaling (else they read as all but silence), and that scales by scanning the file.
  spec.format = PA_SAMPLE_FLOAT32NE;
  spec.rate = static_cast<std::uint32_t>(st.rate);
  spec.channels = static_cast<std::uint8_t>(st.channels);
  pa_channel_map map;
  // The plain default map stops at 6 channels; extend fills the rest with auxiliary ones.
  if (!pa_channel_map_init_extend(&map, spec.channels, PA_CHANNEL_MAP_DEFAULT)) return false;
  st.pa = std::make_unique<PulseStream>();
  return st.pa->Open(spec, map, kBufferMs, deadline);
}

// Connects and plays every stroke back to back on the one stream, until the end or until
// `generation` moves past `mine`. False when the server fails or takes too long.
bool Run(Stream& st, const std::atomic<std::uint64_t>& generation, std::uint64_t mine) {
  auto deadline = StrokeDeadline(st);
  const PulseStream::StopRequested stop = [&] { return generation.load() != mine; };
  if (!Connect(st, deadline)) return false;
  const sf_count_t chunk = std::max(1, st.rate * kChunkMs / 1000);
  std::vector<float> in(static_cast<std::size_t>(chunk * st.fileChannels));
  std::vector<float> out;
  if (st.channels != st.fileChannels) out.resize(static_cast<std::size_t>(chunk * st.channels));
  for (int stroke = 0; stroke < st.strokes; ++stroke) {
    if (stroke > 0) {
      if (sf_seek(st.file.get(), 0, SEEK_SET) < 0) break;
      deadline = StrokeDeadline(st);  // the server has taken all but its buffer of the last one
    }
    sf_count_t left = st.frames;
    while (left > 0) {
      if (stop()) return true;
      const sf_count_t n = sf_readf_float(st.file.get(), in.data(), std::min(chunk, left));
      if (n <= 0) break;  // a truncated file plays what it holds
      // Float data above full scale (or not a number) would be noise.
      for (float& v : in) v = std::isfinite(v) ? std::clamp(v, -1.0f, 1.0f) : 0.0f;
      const float* data = in.data();
      if (!out.empty()) {
        for (sf_count_t f = 0; f < n; ++f) {
          std::copy_n(&in[f * st.fileChannels], st.channels, &out[f * st.channels]);
        }
        data = out.data();
      }
      const auto bytes = static_cast<std::size_t>(n * st.channels) * sizeof(float);
      if (!st.pa->Write(data, bytes, deadline, stop)) return stop();
      left -= n;
    }
  }
  return st.pa->Drain(deadline, stop) || stop();
}

}  // namespace

PulseOutput::PulseOutput() = default;

PulseOutput::~PulseOutput() {
  ++generation_;
  std::unique_ptr<Stream> dropped;
  {
    std::lock_guard lock(mu_);
    quit_ = true;
    dropped = std::move(pending_);
    cv_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
}

std::uint64_t PulseOutput::Claim() {
  const std::uint64_t mine = ++generation_;
  std::unique_ptr<Stream> dropped;
  std::lock_guard lock(mu_);
  dropped = std::move(pending_);
  cv_.notify_all();
  return mine;
}

bool PulseOutput::PlayHere(Stream& st, std::uint64_t mine) {
  // Let the worker release its sound first, so two sounds never overlap.
  {
    std::unique_lock lock(mu_);
    cv_.wait_for(lock, kStopWait, [&] { return !busy_; });
  }
  return Run(st, generation_, mine);
}

bool PulseOutput::Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
                       Clock::time_point until) {
  const std::uint64_t mine = Claim();
  auto st = OpenImage(std::move(image));
  if (!st || strokes < 1) return false;
  st->strokes = strokes;
  st->until = until;
  if (!async) return PlayHere(*st, mine);

  std::unique_ptr<Stream> dropped;
  std::lock_guard lock(mu_);
  // A newer request arrived while this one was opening: it wins.
  if (generation_.load() != mine || quit_) return true;
  StartWorkerLocked();
  dropped = std::move(pending_);
  pending_ = std::move(st);
  pendingGeneration_ = mine;
  cv_.notify_all();
  return true;
}

void PulseOutput::StartWorkerLocked() {
  if (!worker_.joinable()) worker_ = std::thread([this] { Worker(); });
}

void PulseOutput::Worker() {
  std::unique_lock lock(mu_);
  for (;;) {
    cv_.wait(lock, [&] { return quit_ || pending_; });
    if (quit_) return;
    std::unique_ptr<Stream> st = std::move(pending_);
    const std::uint64_t mine = pendingGeneration_;
    busy_ = true;
    lock.unlock();
    Run(*st, generation_, mine);
    st.reset();  // idle means the server has let go of the sound too
    lock.lock();
    busy_ = false;
    cv_.notify_all();
  }
}

}  // namespace zdz::qt

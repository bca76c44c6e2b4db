#include "platform/qt/pulse_stream.h"

#include <pulse/error.h>
#include <pulse/operation.h>
#include <pulse/timeval.h>

#include <algorithm>
#include <cstdint>

namespace zdz::qt {

namespace {

// The longest single wait inside the loop, so stop requests and deadlines are seen promptly.
constexpr int kSliceUs = 20'000;

}  // namespace

PulseStream::~PulseStream() {
  if (stream_) {
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
  }
  if (context_) {
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (loop_) pa_mainloop_free(loop_);
}

bool PulseStream::Failed() const {
  if (context_ && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) return true;
  return stream_ && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
}

bool PulseStream::RunUntil(const std::function<bool()>& done, Clock::time_point deadline,
                           const StopRequested& stop) {
  for (;;) {
    if (done()) return true;
    if (Failed() || (stop && stop())) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const int slice = static_cast<int>(std::min<long long>(left, kSliceUs));
    if (pa_mainloop_prepare(loop_, slice) < 0 || pa_mainloop_poll(loop_) < 0 ||
        pa_mainloop_dispatch(loop_) < 0) {
      return false;
    }
  }
}

bool PulseStream::Open(const pa_sample_spec& spec, const pa_channel_map& map, int bufferMs,
                       Clock::time_point deadline) {
  loop_ = pa_mainloop_new();
  if (!loop_) return false;
  context_ = pa_context_new(pa_mainloop_get_api(loop_), "Zoduzazu");
  if (!context_ || pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    return false;
  }
  if (!RunUntil([&] { return pa_context_get_state(context_) == PA_CONTEXT_READY; }, deadline,
                nullptr)) {
    return false;
  }
  stream_ = pa_stream_new(context_, "Chime", &spec, &map);
  if (!stream_) return false;
  pa_buffer_attr attr;
  attr.maxlength = static_cast<std::uint32_t>(-1);
  // Without a small target length the drain waits up to two seconds after a short sound.
  attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(bufferMs * PA_USEC_PER_MSEC, &spec));
  attr.prebuf = static_cast<std::uint32_t>(-1);
  attr.minreq = static_cast<std::uint32_t>(-1);
  attr.fragsize = static_cast<std::uint32_t>(-1);
  if (pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                 nullptr) < 0) {
    return false;
  }
  return RunUntil([&] { return pa_stream_get_state(stream_) == PA_STREAM_READY; }, deadline,
                  nullptr);
}

bool PulseStream::Write(const void* data, std::size_t bytes, Clock::time_point deadline,
                        const StopRequested& stop) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (bytes > 0) {
    std::size_t room = 0;
    if (!RunUntil(
            [&] {
              room = pa_stream_writable_size(stream_);
              return room > 0 && room != static_cast<std::size_t>(-1);
            },
            deadline, stop)) {
      return false;
    }
    const std::size_t frame = pa_frame_size(pa_stream_get_sample_spec(stream_));
    std::size_t n = std::min(room, bytes);
    if (n > frame) n -= n % frame;
    if (pa_stream_write(stream_, p, n, nullptr, 0, PA_SEEK_RELATIVE) < 0) return false;
    p += n;
    bytes -= n;
  }
  return true;
}

bool PulseStream::Drain(Clock::time_point deadline, const StopRequested& stop) {
  bool drained = false;
  pa_operation* op = pa_stream_drain(
      stream_, [](pa_stream*, int, void* flag) { *static_cast<bool*>(flag) = true; }, &drained);
  if (!op) return false;
  const bool ok = RunUntil([&] { return drained; }, deadline, stop);
  // The callback must not outlive `drained`.
  pa_operation_cancel(op);
  pa_operation_unref(op);
  return ok;
}

}  // namespace zdz::qt

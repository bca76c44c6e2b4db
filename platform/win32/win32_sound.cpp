#include "platform/win32/win32_sound.h"

#include "platform/win32/win32_api.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/win32/chime_wait.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_waveout.h"

namespace zdz::win32 {

namespace {

// What a stroke may take beyond its sound: the device's start-up, its buffer, a slow driver, a
// busy machine's late scheduling.
constexpr ULONGLONG kMarginMs = 3000;

class FileSource : public wave::ByteSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {}
  ~FileSource() override { CloseHandle(file_); }
  std::size_t Read(void* to, std::size_t n) override {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    return ReadFile(file_, to, want, &got, nullptr) ? got : 0;
  }
  bool Skip(std::uint64_t n) override {
    LARGE_INTEGER by;
    by.QuadPart = static_cast<LONGLONG>(std::min<std::uint64_t>(n, 1ull << 62));
    return SetFilePointerEx(file_, by, nullptr, FILE_CURRENT) != FALSE;
  }

 private:
  HANDLE file_;
};

}  // namespace

// Only a file on a disk: a pipe could wait forever.
std::unique_ptr<wave::ByteSource> OpenChimeFile(const std::string& name) {
  HANDLE f = CreateFileW(Wide(name).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (f == INVALID_HANDLE_VALUE) return nullptr;
  if (GetFileType(f) != FILE_TYPE_DISK) {
    CloseHandle(f);
    return nullptr;
  }
  return std::make_unique<FileSource>(f);
}

struct SystemOutput::Device {
  ~Device() {
    if (out) {
      api.reset(out);
      for (WAVEHDR& h : headers) api.unprepare(out, &h, sizeof h);
      api.close(out);
    }
    if (event) CloseHandle(event);
  }

  // Opens the device and queues every stroke of the sound, one header each, back to back.
  bool Start(std::shared_ptr<const wave::Image> sound, int strokes) {
    image = std::move(sound);
    if (!api) return false;
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!event) return false;
    const auto* fmt = image->bytes.data() + image->formatOffset;
    std::vector<std::uint8_t> format(fmt, fmt + image->formatSize);
    format.resize(std::max(format.size(), sizeof(WAVEFORMATEX)));  // cbSize 0 when absent
    if (api.open(&out, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(format.data()),
                 reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      out = nullptr;
      return false;
    }
    // The device only reads the sound; the image stays alive as long as the headers.
    auto* data = const_cast<std::uint8_t*>(image->bytes.data() + image->dataOffset);
    headers.resize(static_cast<std::size_t>(strokes));
    for (WAVEHDR& h : headers) {
      h = WAVEHDR{};
      h.lpData = reinterpret_cast<LPSTR>(data);
      h.dwBufferLength = static_cast<DWORD>(image->dataSize);
      if (api.prepare(out, &h, sizeof h) != MMSYSERR_NOERROR ||
          api.write(out, &h, sizeof h) != MMSYSERR_NOERROR) {
        return false;
      }
    }
    return true;
  }

  // Waits for the last stroke. Each stroke has its sound's length plus the margin, counted from
  // the end of the one before (the first from the start): a busy machine that delays every
  // stroke a little still plays the whole chime, while a device that stops playing holds the
  // clock for one stroke and the margin at most.
  bool Wait(Clock::time_point until) const {
    const ULONGLONG budget = static_cast<ULONGLONG>(image->length.count()) + kMarginMs;
    // The whole chime's end, on the tick count the waits use.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    const ULONGLONG end =
        GetTickCount64() + static_cast<ULONGLONG>(std::max<std::int64_t>(0, left.count()));
    ULONGLONG deadline = std::min(GetTickCount64() + budget, end);
    for (const WAVEHDR& h : headers) {
      while ((h.dwFlags & WHDR_DONE) == 0) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        if (!WaitForChime(event, static_cast<DWORD>(deadline - now))) return false;
      }
      deadline = std::min(GetTickCount64() + budget, end);
    }
    return true;
  }

  const WaveOut& api = WaveOut::System();
  std::shared_ptr<const wave::Image> image;
  HANDLE event = nullptr;
  HWAVEOUT out = nullptr;
  std::vector<WAVEHDR> headers;
};

SystemOutput::SystemOutput() = default;
SystemOutput::~SystemOutput() = default;

bool SystemOutput::Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
                        Clock::time_point until) {
  Stop();
  auto device = std::make_unique<Device>();
  if (!device->Start(std::move(image), strokes)) return false;
  if (async) {
    playing_ = std::move(device);
    return true;
  }
  return device->Wait(until);  // on time-out the device is reset as it closes
}

void SystemOutput::Stop() { playing_.reset(); }

}  // namespace zdz::win32

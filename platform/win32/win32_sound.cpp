#include "platform/win32/win32_sound.h"

#include "platform/win32/win32_api.h"

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

// A minute of 8-channel 32-bit sound at 48 kHz is about 92 MB; nothing a chime needs is larger.
constexpr LONGLONG kMaxFileBytes = 96LL * 1024 * 1024;

// The whole file, or nothing. Played from memory, a path outside the system's code page still
// plays: the file-name form of the call fails on it silently.
std::vector<char> ReadWave(const std::wstring& path) {
  std::vector<char> data;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return data;
  LARGE_INTEGER size{};
  if (GetFileType(f) == FILE_TYPE_DISK && GetFileSizeEx(f, &size) && size.QuadPart > 12 &&
      size.QuadPart <= kMaxFileBytes) {
    data.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) ||
        got != data.size() || std::string(data.data(), 4) != "RIFF")
      data.clear();
  }
  CloseHandle(f);
  if (data.size() >= 12 && std::string(data.data() + 8, 4) != "WAVE") data.clear();
  return data;
}

}  // namespace

SystemSound::~SystemSound() { PlaySoundW(nullptr, nullptr, 0); }

bool SystemSound::Play(const std::string& name, unsigned flags) {
  const bool async = (flags & kSndAsync) != 0;
  if (name.empty()) {
    PlaySoundW(nullptr, nullptr, 0);  // ends what plays
    playing_.clear();
    return true;
  }
  std::vector<char> data = ReadWave(Wide(name));
  if (data.empty()) return false;
  PlaySoundW(nullptr, nullptr, 0);  // a new request ends the old one before its buffer goes
  const DWORD how = SND_MEMORY | SND_NODEFAULT | (async ? SND_ASYNC : SND_SYNC);
  if (async) {
    playing_ = std::move(data);
    return PlaySoundW(reinterpret_cast<LPCWSTR>(playing_.data()), nullptr, how) != FALSE;
  }
  playing_.clear();
  return PlaySoundW(reinterpret_cast<LPCWSTR>(data.data()), nullptr, how) != FALSE;
}

}  // namespace zdz::win32

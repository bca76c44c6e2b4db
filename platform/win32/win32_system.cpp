#include "platform/win32/win32_system.h"

#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_text.h"
#include "resources/captions.h"

namespace zdz::win32 {

std::optional<std::string> SystemServices::ShowOpen(const OpenFileRequest& request) {
  // "text|pattern|" becomes the dialog's list of zero-terminated pairs.
  std::wstring filter = Wide(request.filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring chosen = Wide(request.fileName);
  if (chosen.size() < file.size()) chosen.copy(file.data(), chosen.size());
  const std::wstring title = Wide(request.title);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = request.flags | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return Utf8(file.data());
}

void SystemServices::MessageBox(const std::string& text, const std::string& title) {
  MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

bool SystemServices::StartProgram(const std::string& path) {
  // The path is the program itself, and quoted on the command line: a path with spaces can
  // never start whatever its first word names.
  const std::wstring app = Wide(path);
  std::wstring line = L"\"" + app + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(app.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool SystemServices::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemServices::DataFolder() {
  std::vector<wchar_t> buf(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  std::wstring exe(buf.data(), n);
  const auto slash = exe.find_last_of(L"\\/");
  return Utf8(slash == std::wstring::npos ? L"." : exe.substr(0, slash));
}

double SystemServices::TwipsPerPixelX() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return 1440.0 / (dpi > 0 ? dpi : 96);
}

int SystemServices::DoubleClickMs() { return static_cast<int>(GetDoubleClickTime()); }

void SystemServices::ReportFailure(const std::string& text) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(text::kAppTitle).c_str(), MB_OK | MB_ICONERROR);
}

void SystemServices::EndProgram() { PostQuitMessage(0); }

namespace {

std::string LocaleText(LCTYPE what, const char* fallback) {
  wchar_t buf[LOCALE_NAME_MAX_LENGTH] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, buf, LOCALE_NAME_MAX_LENGTH) <= 0)
    return fallback;
  return Utf8(buf);
}

}  // namespace

SystemTime::SystemTime()
    : separator_(LocaleText(LOCALE_STIME, ":")),
      am_(LocaleText(LOCALE_S1159, "AM")),
      pm_(LocaleText(LOCALE_S2359, "PM")) {}

LocalTime SystemTime::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace zdz::win32

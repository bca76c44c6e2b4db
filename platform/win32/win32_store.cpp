#include "platform/win32/win32_store.h"

#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

const std::wstring kRoot = L"Software\\VB and VBA Program Settings";

StoreFailure ReasonOf(LSTATUS status) {
  if (status == ERROR_ACCESS_DENIED) return StoreFailure::kNotPermitted;
  if (status == ERROR_DISK_FULL || status == ERROR_NO_SYSTEM_RESOURCES)
    return StoreFailure::kNoSpace;
  return StoreFailure::kOther;
}

// "<what> HKEY_CURRENT_USER\<key>: <the system's own words for status>".
StoreError Failure(const std::string& what, const std::wstring& key, LSTATUS status) {
  wchar_t* text = nullptr;
  std::wstring reason;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0,
                     nullptr) &&
      text) {
    reason = text;
    LocalFree(text);
  }
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
  if (reason.empty()) reason = L"error " + std::to_wstring(status);
  return StoreError(what + " HKEY_CURRENT_USER\\" + Utf8(key) + ": " + Utf8(reason),
                    ReasonOf(status));
}

// Only a key that is surely absent counts as absent: a failed save removes what it created.
bool Absent(const std::wstring& key) {
  HKEY h = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &h);
  if (status == ERROR_SUCCESS) RegCloseKey(h);
  return status == ERROR_FILE_NOT_FOUND;
}

LSTATUS RemoveTree(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());  // in case RegDeleteTree left the key itself
  return status;
}

// A value as it was: its type and bytes, or its absence.
struct Kept {
  std::wstring name;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

Kept Keep(HKEY h, const std::wstring& name) {
  Kept kept;
  kept.name = name;
  DWORD size = 0;
  if (RegQueryValueExW(h, name.c_str(), nullptr, &kept.type, nullptr, &size) != ERROR_SUCCESS)
    return kept;
  kept.bytes.resize(size);
  kept.present = RegQueryValueExW(h, name.c_str(), nullptr, &kept.type, kept.bytes.data(), &size) ==
                 ERROR_SUCCESS;
  kept.bytes.resize(size);
  return kept;
}

void PutBack(HKEY h, const Kept& kept) {
  if (kept.present)
    RegSetValueExW(h, kept.name.c_str(), 0, kept.type, kept.bytes.data(),
                   static_cast<DWORD>(kept.bytes.size()));
  else
    RegDeleteValueW(h, kept.name.c_str());
}

}  // namespace

std::string RegistryStore::Read(const std::string& app, const std::string& section,
                                const std::string& key) {
  HKEY h = nullptr;
  const std::wstring path = kRoot + L"\\" + Wide(app) + L"\\" + Wide(section);
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
    return "";
  const std::wstring name = Wide(key);
  DWORD type = 0, size = 0;
  std::string out;
  if (RegQueryValueExW(h, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ && size > 0) {
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                         &size) == ERROR_SUCCESS)
      out = Utf8(std::wstring(buf.data()));  // stops at the terminating zero
  }
  RegCloseKey(h);
  return out;
}

// All or none by putting back: the registry writes one value at a time, its transactions are
// deprecated (and absent from Wine), and swapping in a sibling key is not one step either and
// would drop values kept there by others. So each value's old type and bytes (or absence) are
// read first and restored if a write fails, and keys this save created are removed again.
void RegistryStore::SaveAll(const std::string& app, const std::string& section,
                            const StoreValues& values) {
  const std::wstring appKey = kRoot + L"\\" + Wide(app);
  const std::wstring sectionKey = appKey + L"\\" + Wide(section);
  std::wstring created;  // the outermost key this save creates
  for (const std::wstring& key : {kRoot, appKey, sectionKey})
    if (Absent(key)) {
      created = key;
      break;
    }
  HKEY h = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey.c_str(), 0, nullptr, 0,
                                   KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &h, nullptr);
  if (status != ERROR_SUCCESS) {
    if (!created.empty()) RemoveTree(created);
    throw Failure("cannot create", sectionKey, status);
  }
  std::vector<Kept> kept;
  for (const auto& [key, value] : values) kept.push_back(Keep(h, Wide(key)));
  int n = 0;
  for (const auto& [key, value] : values) {
    const std::wstring text = Wide(value);
    status = ++n == failAt_
                 ? ERROR_DISK_FULL
                 : RegSetValueExW(h, Wide(key).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
      // A restore that fails as well has nothing left to try.
      if (created.empty())
        for (int i = n - 1; i >= 0; --i) PutBack(h, kept[i]);
      RegCloseKey(h);
      if (!created.empty()) RemoveTree(created);
      throw Failure("cannot save " + key + " in", sectionKey, status);
    }
  }
  RegCloseKey(h);
}

void RegistryStore::Delete(const std::string& app) {
  const std::wstring key = kRoot + L"\\" + Wide(app);
  const LSTATUS status = RemoveTree(key);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw Failure("cannot delete", key, status);
}

}  // namespace zdz::win32

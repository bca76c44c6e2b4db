#include "platform/win32/win32_store.h"

#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

const std::wstring kRoot = L"Software\\VB and VBA Program Settings";

std::wstring AppKey(const std::string& app) { return kRoot + L"\\" + Wide(app); }

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

// ERROR_SUCCESS with the value or its absence kept; a value that cannot be read back stops
// the save before anything is written.
LSTATUS Keep(HKEY h, const std::wstring& name, Kept& kept) {
  kept.name = name;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(h, name.c_str(), nullptr, &kept.type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  kept.bytes.resize(size);
  status = RegQueryValueExW(h, name.c_str(), nullptr, &kept.type, kept.bytes.data(), &size);
  kept.bytes.resize(size);
  kept.present = status == ERROR_SUCCESS;
  return status;
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
  const std::wstring path = AppKey(app) + L"\\" + Wide(section);
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
  const std::wstring appKey = AppKey(app);
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
  std::vector<Kept> kept(values.size());
  // Puts back the first `written` values, or removes what this save created; a restore that
  // fails as well has nothing left to try.
  const auto giveUp = [&](std::size_t written, const std::string& what, LSTATUS why) {
    if (created.empty())
      while (written > 0) PutBack(h, kept[--written]);
    RegCloseKey(h);
    if (!created.empty()) RemoveTree(created);
    return Failure(what + " in", sectionKey, why);
  };
  for (std::size_t i = 0; i < values.size(); ++i)
    if ((status = Keep(h, Wide(values[i].first), kept[i])) != ERROR_SUCCESS)
      throw giveUp(0, "cannot read " + values[i].first, status);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::wstring text = Wide(values[i].second);
    status = static_cast<LSTATUS>(write_(h, Wide(values[i].first), text));
    if (status != ERROR_SUCCESS) throw giveUp(i, "cannot save " + values[i].first, status);
  }
  RegCloseKey(h);
}

RegistryStore::RegistryStore(ValueWriter write) : write_(std::move(write)) {
  if (!write_)
    write_ = [](void* key, const std::wstring& name, const std::wstring& text) -> long {
      return RegSetValueExW(static_cast<HKEY>(key), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
}

void RegistryStore::Delete(const std::string& app) {
  const std::wstring key = AppKey(app);
  const LSTATUS status = RemoveTree(key);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw Failure("cannot delete", key, status);
}

}  // namespace zdz::win32

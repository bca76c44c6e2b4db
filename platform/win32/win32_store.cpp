#include "platform/win32/win32_store.h"

#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

const std::wstring kRoot = L"Software\\VB and VBA Program Settings";

std::wstring SectionKey(const std::string& app, const std::string& section) {
  return kRoot + L"\\" + Wide(app) + L"\\" + Wide(section);
}

StoreFailure ReasonOf(LSTATUS status) {
  if (status == ERROR_ACCESS_DENIED) return StoreFailure::kNotPermitted;
  if (status == ERROR_DISK_FULL || status == ERROR_NO_SYSTEM_RESOURCES)
    return StoreFailure::kNoSpace;
  return StoreFailure::kOther;
}

}  // namespace

std::string RegistryStore::Read(const std::string& app, const std::string& section,
                                const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey(app, section).c_str(), 0, KEY_QUERY_VALUE, &h) !=
      ERROR_SUCCESS)
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

void RegistryStore::Save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
  HKEY h = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(app, section).c_str(), 0, nullptr,
                                   0, KEY_SET_VALUE, nullptr, &h, nullptr);
  if (status != ERROR_SUCCESS)
    throw StoreError("cannot open the settings key for " + key, ReasonOf(status));
  const std::wstring text = Wide(value);
  status =
      RegSetValueExW(h, Wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  if (status != ERROR_SUCCESS) throw StoreError("cannot save " + key, ReasonOf(status));
}

void RegistryStore::Delete(const std::string& app) {
  const std::wstring key = kRoot + L"\\" + Wide(app);
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw StoreError("cannot delete the settings", ReasonOf(status));
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());  // RegDeleteTree leaves the key itself
}

}  // namespace zdz::win32

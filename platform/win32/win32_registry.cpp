#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_api.h"

#include <cstring>
#include <vector>

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

long SystemRegistry::OpenKey(std::uint32_t root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegKey* key) {
  HKEY h = nullptr;
  const LSTATUS status = RegOpenKeyExW(  // The predefined keys are sign-extended 32-bit values.
      reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))), Wide(subKey).c_str(),
      options, access, &h);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(h);
  return status;
}

long SystemRegistry::QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) {
  HKEY h = reinterpret_cast<HKEY>(key);
  const std::wstring name = Wide(valueName);
  DWORD t = 0, bytes = 0;
  LSTATUS status = RegQueryValueExW(h, name.c_str(), nullptr, &t, nullptr, &bytes);
  if (status != ERROR_SUCCESS) return status;
  std::vector<BYTE> raw(bytes + sizeof(wchar_t), 0);
  status = RegQueryValueExW(h, name.c_str(), nullptr, &t, raw.data(), &bytes);
  if (status != ERROR_SUCCESS) return status;
  std::string out(reinterpret_cast<const char*>(raw.data()), bytes);
  std::uint32_t fits = bytes;  // what the narrow call would need, in bytes
  if (t == REG_SZ || t == REG_EXPAND_SZ) {
    const std::wstring wide(reinterpret_cast<const wchar_t*>(raw.data()));
    fits = static_cast<std::uint32_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr));
    out = Utf8(wide);
    out.push_back('\0');
  }
  if (fits > *size || out.size() > *size) {
    *size = fits > out.size() ? fits : static_cast<std::uint32_t>(out.size());
    return ERROR_MORE_DATA;
  }
  *type = t;
  std::memcpy(data, out.data(), out.size());
  *size = static_cast<std::uint32_t>(out.size());
  return ERROR_SUCCESS;
}

long SystemRegistry::CloseKey(RegKey key) { return RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace zdz::win32

#pragma once
// Read access to a hierarchical registry, shaped like the Win32 calls the version dialog makes.

#include <cstdint>
#include <string>

namespace zdz {

using RegKey = std::uintptr_t;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;

class Registry {
 public:
  virtual ~Registry() = default;
  virtual long OpenKey(std::uint32_t root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t access, RegKey* key) = 0;
  // *size: the buffer's size on entry, the bytes written on return. Strings come as UTF-8
  // bytes with their terminating zero; whether they fit is judged as the system's narrow
  // calls judge it, in bytes of the system's code page. kErrorMoreData when they do not.
  virtual long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace zdz

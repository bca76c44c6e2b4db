#pragma once
// Read access to the system registry for the version dialog.

#include "platform/registry.h"

namespace zdz::win32 {

class SystemRegistry : public Registry {
 public:
  long OpenKey(std::uint32_t root, const std::string& subKey, std::uint32_t options,
               std::uint32_t access, RegKey* key) override;
  long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long CloseKey(RegKey key) override;
};

}  // namespace zdz::win32

#pragma once
// The settings store in the registry: HKEY_CURRENT_USER\Software\VB and VBA Program Settings.

#include "platform/settings_store.h"

namespace zdz::win32 {

class RegistryStore : public SettingsStore {
 public:
  std::string Read(const std::string& app, const std::string& section,
                   const std::string& key) override;
  void Save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;
  void Delete(const std::string& app) override;
};

}  // namespace zdz::win32

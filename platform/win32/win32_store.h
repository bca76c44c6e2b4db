#pragma once
// The settings store in the registry: HKEY_CURRENT_USER\Software\VB and VBA Program Settings.

#include "platform/settings_store.h"

namespace zdz::win32 {

class RegistryStore : public SettingsStore {
 public:
  std::string Read(const std::string& app, const std::string& section,
                   const std::string& key) override;
  void SaveAll(const std::string& app, const std::string& section,
               const StoreValues& values) override;
  void Delete(const std::string& app) override;

  // For tests: the n-th value (from 1) that each later SaveAll writes fails as on a full
  // disk; 0 for none.
  void FailAtWrite(int n) { failAt_ = n; }

 private:
  int failAt_ = 0;
};

}  // namespace zdz::win32

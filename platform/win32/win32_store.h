#pragma once
// The settings store in the registry: HKEY_CURRENT_USER\Software\VB and VBA Program Settings.

#include <functional>
#include <string>

#include "platform/settings_store.h"

namespace zdz::win32 {

class RegistryStore : public SettingsStore {
 public:
  // Writes one text value under an open key (an HKEY); a Win32 status. RegSetValueExW unless
  // another is given, e.g. one that fails as a full disk does.
  using ValueWriter =
      std::function<long(void* key, const std::wstring& name, const std::wstring& text)>;
  explicit RegistryStore(ValueWriter write = nullptr);

  std::string Read(const std::string& app, const std::string& section,
                   const std::string& key) override;
  void SaveAll(const std::string& app, const std::string& section,
               const StoreValues& values) override;
  void Delete(const std::string& app) override;

 private:
  ValueWriter write_;
};

}  // namespace zdz::win32

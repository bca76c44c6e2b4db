#pragma once
// The settings store as one INI-style text file per application:
// <base>/<app>/<app>.conf, sections "[name]", lines "key=value".

#include <string>

#include "platform/settings_store.h"

namespace zdz::qt {

class IniSettingsStore : public SettingsStore {
 public:
  // `base` is the user's configuration folder ($XDG_CONFIG_HOME or ~/.config), UTF-8.
  explicit IniSettingsStore(std::string base);

  std::string Read(const std::string& app, const std::string& section,
                   const std::string& key) override;
  // One write of the whole file, so all of `values` or none reach the disk.
  void SaveAll(const std::string& app, const std::string& section,
               const StoreValues& values) override;
  void Delete(const std::string& app) override;

  // The file that holds `app`'s settings; empty when `app` cannot name a file.
  std::string FilePath(const std::string& app) const;

 private:
  std::string base_;
};

}  // namespace zdz::qt

#pragma once
// fomAbout: title and version, and the way to the system-information tool.

#include <cstdint>
#include <string>

#include "platform/form.h"
#include "platform/registry.h"

namespace zdz {

class Application;

// Reads one registry value as text. False, with `keyVal` empty, when the key or value cannot
// be read (data over 1024 bytes included). A value of another type than REG_SZ or REG_DWORD
// counts as read and leaves `keyVal` as it was.
bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal);

class AboutDialog {
 public:
  explicit AboutDialog(Application& app);
  ~AboutDialog();

  Form& Window() { return form_; }

  void Load();
  void StartSysInfo();

 private:
  void Unload();

  Application& app_;
  Form form_;
};

}  // namespace zdz

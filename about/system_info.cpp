// AboutDialog::StartSysInfo and GetKeyValue: finding and starting the system-information tool.
#include <vector>

#include "about/about_dialog.h"
#include "core/application.h"
#include "resources/captions.h"

namespace zdz {

namespace {

constexpr std::uint32_t kOpenAccess = 0x2003F;
constexpr std::uint32_t kValueBufferSize = 1024;

}  // namespace

bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
  RegKey key = 0;
  if (registry.OpenKey(keyRoot, keyName, 0, kOpenAccess, &key) != kErrorSuccess) {
    keyVal.clear();
    return false;
  }
  std::vector<std::uint8_t> buffer(kValueBufferSize, 0);
  std::uint32_t type = 0;
  std::uint32_t size = kValueBufferSize;
  if (registry.QueryValue(key, subKeyRef, &type, buffer.data(), &size) != kErrorSuccess) {
    keyVal.clear();
    registry.CloseKey(key);
    return false;
  }
  if (size > kValueBufferSize) size = kValueBufferSize;
  if (size > 0 && buffer[size - 1] == 0) --size;
  if (type == kRegSz) {
    keyVal.assign(reinterpret_cast<const char*>(buffer.data()), size);
  } else if (type == kRegDword) {
    std::uint32_t number = 0;
    for (std::uint32_t i = 0; i < 4 && i < size; ++i) number |= std::uint32_t{buffer[i]} << (8 * i);
    keyVal = std::to_string(number);
  }
  registry.CloseKey(key);
  return true;
}

void AboutDialog::StartSysInfo() {
  Registry& registry = app_.Desk().Reg();
  System& system = app_.Desk().Sys();
  std::string path;
  bool start = GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                           "PATH", path);
  if (!start && GetKeyValue(registry, kHkeyLocalMachine,
                            "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
    const std::string candidate = path + "\\MSINFO32.EXE";
    if (system.FileExists(candidate)) {
      path = candidate;
      start = true;
    }
  }
  // The path goes to the desktop as the program itself, never through a command line, so a
  // path with spaces cannot start something else.
  if (start && !path.empty() && system.StartProgram(path)) return;
  system.MessageBox(text::kNoSysInfo, text::kAppTitle);
}

}  // namespace zdz

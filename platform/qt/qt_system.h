#pragma once
// Processes, files, dialogs and the local time on the Qt desktop.

#include <QFileSystemWatcher>

#include <memory>
#include "platform/local_time.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace zdz::qt {

class QtSystem : public System {
 public:
  std::optional<std::string> ShowOpen(const OpenFileRequest& request) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::string DataFolder() override;
  char PathSeparator() override { return '/'; }
  double TwipsPerPixelX() override;
  int DoubleClickMs() override;
  void ReportFailure(const std::string& text) override;
  void EndProgram() override;
};

// Local time and the user's locale (QLocale::system()).
// Read once: Qt takes the system locale at start-up, and the tick asks every second.
// The local time from the C library, with the time zone read once and again only when the
// system's zone file changes (Qt would re-read it on every call: a file access ten times a
// second).
class QtTime : public TimeSource {
 public:
  QtTime();
  LocalTime Now() override;
  std::string TimeSeparator() override { return separator_; }
  std::string AmDesignator() override { return am_; }
  std::string PmDesignator() override { return pm_; }

 private:
  std::string separator_, am_, pm_;
  std::unique_ptr<QFileSystemWatcher> zoneWatch_;
};

// Linux has no registry: every look-up finds nothing.
class NoRegistry : public Registry {
 public:
  long OpenKey(std::uint32_t, const std::string&, std::uint32_t, std::uint32_t, RegKey*) override {
    return kErrorFileNotFound;
  }
  long QueryValue(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                  std::uint32_t*) override {
    return kErrorFileNotFound;
  }
  long CloseKey(RegKey) override { return kErrorSuccess; }
};

}  // namespace zdz::qt

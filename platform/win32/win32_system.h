#pragma once
// Processes, files, dialogs and local time on Windows.

#include "platform/local_time.h"
#include "platform/system.h"

namespace zdz::win32 {

class SystemServices : public System {
 public:
  std::optional<std::string> ShowOpen(const OpenFileRequest& request) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::string DataFolder() override;
  char PathSeparator() override { return '\\'; }
  double TwipsPerPixelX() override;
  int DoubleClickMs() override;
  void ReportFailure(const std::string& text) override;
  void EndProgram() override;
};

// Local time and the user's regional settings, read once.
class SystemTime : public TimeSource {
 public:
  SystemTime();
  LocalTime Now() override;
  std::string TimeSeparator() override { return separator_; }
  std::string AmDesignator() override { return am_; }
  std::string PmDesignator() override { return pm_; }

 private:
  std::string separator_, am_, pm_;
};

}  // namespace zdz::win32

#pragma once
// Processes, files and the other small services of the desktop.

#include <optional>
#include <string>

namespace zdz {

inline constexpr unsigned kOfnHideReadOnly = 4;
inline constexpr unsigned kOfnPathMustExist = 2048;

struct OpenFileRequest {
  std::string title;
  std::string filter;  // "description|pattern|..."
  unsigned flags = 0;
  std::string fileName;  // the path chosen earlier, or empty
};

class System {
 public:
  virtual ~System() = default;
  // The chosen full path, or nothing when the user cancelled.
  virtual std::optional<std::string> ShowOpen(const OpenFileRequest& request) = 0;
  virtual void MessageBox(const std::string& text, const std::string& title) = 0;
  // Starts an independent program in a normal window; false when it cannot be started.
  virtual bool StartProgram(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The folder that holds the program's own data: the default chime lives there.
  virtual std::string DataFolder() = 0;
  virtual char PathSeparator() = 0;
  virtual double TwipsPerPixelX() = 0;
  // The user's double-click interval.
  virtual int DoubleClickMs() = 0;
  // A start-up that cannot go on: one line where the user sees it (stderr, or a message box
  // where a program has no console).
  virtual void ReportFailure(const std::string& text) = 0;
  // Ends the program at once: other windows close without their own unload handling.
  virtual void EndProgram() = 0;
};

}  // namespace zdz

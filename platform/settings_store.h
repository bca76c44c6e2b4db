#pragma once
// The per-user settings store: (application, section, key) -> text.

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zdz {

// Why a store could not keep or remove something; the program words it for the user.
enum class StoreFailure { kOther, kNoSpace, kNotPermitted };

// A store that cannot keep or remove a value throws this from SaveAll or Delete;
// what() holds the system's own detail (a path, errno's text).
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& detail, StoreFailure reason = StoreFailure::kOther)
      : std::runtime_error(detail), reason_(reason) {}
  StoreFailure Reason() const { return reason_; }

 private:
  StoreFailure reason_;
};

using StoreValues = std::vector<std::pair<std::string, std::string>>;  // key, text

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The empty text when the application, section or key is absent or unreadable.
  virtual std::string Read(const std::string& app, const std::string& section,
                           const std::string& key) = 0;
  // All of `values` or, throwing StoreError with the reason, none of them: what was stored
  // before stays as it was.
  virtual void SaveAll(const std::string& app, const std::string& section,
                       const StoreValues& values) = 0;
  // Removes the application with all its sections and keys, or throws StoreError with the
  // reason when anything of it stays; an absent one is not an error.
  virtual void Delete(const std::string& app) = 0;
};

}  // namespace zdz

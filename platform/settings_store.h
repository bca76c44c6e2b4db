#pragma once
// The per-user settings store: (application, section, key) -> text.

#include <stdexcept>
#include <string>

namespace zdz {

// A store that cannot keep or remove a value throws this from Save or Delete.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The empty text when the application, section or key is absent or unreadable.
  virtual std::string Read(const std::string& app, const std::string& section,
                           const std::string& key) = 0;
  virtual void Save(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) = 0;
  // Removes the application with all its sections and keys; an absent one is not an error.
  virtual void Delete(const std::string& app) = 0;
};

}  // namespace zdz

// The per-user settings store: application, section, key -> text. Sections and keys are
// matched without regard to case.
#pragma once

#include <string>

namespace padwire {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `fallback` when the application, section or key is absent.
  // Never fails and never creates anything.
  virtual std::string get(const std::string& app, const std::string& section,
                          const std::string& key, const std::string& fallback) = 0;
  // Creates what is needed and replaces any earlier value; false when the write failed.
  virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) = 0;
};

}  // namespace padwire

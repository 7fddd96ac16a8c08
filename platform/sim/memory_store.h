// An in-memory settings store with the registry's rules: sections and keys are matched without
// regard to case and keep the spelling they were created with.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace padwire::sim {

std::string to_lower(std::string_view text);

class MemoryStore {
 public:
  struct Entry {
    std::string section, key, value;
  };

  const std::string* find(const std::string& app, const std::string& section,
                          const std::string& key) const;
  void put(const std::string& app, const std::string& section, const std::string& key,
           const std::string& value);
  // Every value of the application, sorted by section, then key, each as lower-case text.
  std::vector<Entry> sorted(const std::string& app) const;

 private:
  struct Value {
    std::string key;  // as first written
    std::string value;
  };
  struct Section {
    std::string name;                     // as first written
    std::map<std::string, Value> values;  // by lower-case key
  };
  // application (lower case) -> section (lower case) -> values
  std::map<std::string, std::map<std::string, Section>> apps_;
};

}  // namespace padwire::sim

#include "platform/sim/memory_store.h"

#include <algorithm>
#include <cctype>

namespace padwire::sim {

std::string to_lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

const std::string* MemoryStore::find(const std::string& app, const std::string& section,
                                     const std::string& key) const {
  const auto a = apps_.find(to_lower(app));
  if (a == apps_.end()) return nullptr;
  const auto s = a->second.find(to_lower(section));
  if (s == a->second.end()) return nullptr;
  const auto v = s->second.values.find(to_lower(key));
  if (v == s->second.values.end()) return nullptr;
  return &v->second.value;
}

void MemoryStore::put(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) {
  Section& s = apps_[to_lower(app)][to_lower(section)];
  if (s.name.empty()) s.name = section;
  Value& v = s.values[to_lower(key)];
  if (v.key.empty()) v.key = key;
  v.value = value;
}

std::vector<MemoryStore::Entry> MemoryStore::sorted(const std::string& app) const {
  std::vector<Entry> out;
  const auto a = apps_.find(to_lower(app));
  if (a == apps_.end()) return out;
  // The maps are keyed by lower-case text, so walking them gives the wanted order.
  for (const auto& [section_lower, section] : a->second) {
    for (const auto& [key_lower, value] : section.values) {
      out.push_back({section.name, value.key, value.value});
    }
  }
  return out;
}

}  // namespace padwire::sim

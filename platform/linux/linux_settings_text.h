// The settings tree of the Linux program and its text form.
//
//   ; Padwire settings
//   [Padwire\Custom]
//   Up=38
//   Names\x3Dold=text with\nnewline
//   ; end of settings
//
// A header names the application and the section, joined by a backslash. Each value line is
// "key=value"; blanks around either are ignored. Inside keys and values a backslash escapes:
// \\ \n \r \t and \xHH (any byte). Written files escape every control character, every byte
// that is not UTF-8, '=' in keys, a key's leading '[' ';' '#', and blanks at either end of a key
// or value, so any text reads back as it was written. Lines starting with ';' or '#' are
// comments. The last line must be the end marker: a file cut short anywhere lacks it, and so
// does not parse.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padwire::lin {

// Applications, sections and keys are matched without regard to (ASCII) case, as the registry
// matches them, and keep the spelling they were created with.
class SettingsTree {
 public:
  struct Value {
    std::string key, text;
    bool operator==(const Value&) const = default;
  };
  struct Section {
    std::string app, name;
    std::vector<Value> values;
    bool operator==(const Section&) const = default;
  };

  const std::string* find(std::string_view app, std::string_view section,
                          std::string_view key) const;
  // Sets the value, creating the section as needed; returns the earlier text, if any.
  std::optional<std::string> put(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view text);
  // Removes the value (and a section it leaves empty).
  void erase(std::string_view app, std::string_view section, std::string_view key);
  // In the order they were created.
  const std::vector<Section>& sections() const { return sections_; }
  bool operator==(const SettingsTree&) const = default;

 private:
  std::vector<Section> sections_;
};

// An application or section name the text form can hold: not empty, no backslash, no control
// character.
bool valid_section_name(std::string_view name);

std::string format_settings(const SettingsTree& tree);

// Nothing when the text does not parse: a line that is neither a header, a value, a comment
// nor blank; a value before any header; a bad escape; raw bytes that are neither text nor
// UTF-8; or a missing end marker.
std::optional<SettingsTree> parse_settings(std::string_view text);

}  // namespace padwire::lin

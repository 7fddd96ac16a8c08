#include "platform/linux/linux_controller_mappings.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/linux/linux_files.h"

namespace padwire::lin {

namespace {

// SDL's community database is about 1 MB: ten times that is no mappings file.
constexpr std::size_t kLargestFile = 10 << 20;
constexpr std::size_t kGuidDigits = 32;

std::string trimmed(const std::string& text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

struct Mapping {
  bool valid = false;
  std::string platform;  // "" when the line names none
};

Mapping read_mapping(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  Mapping mapping;
  const std::string& guid = fields.empty() ? line : fields[0];
  if (fields.size() < 3 || guid.size() != kGuidDigits ||
      !std::all_of(guid.begin(), guid.end(),
                   [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }) ||
      trimmed(fields[1]).empty()) {
    return mapping;
  }
  int controls = 0;
  for (std::size_t i = 2; i < fields.size(); ++i) {
    const std::string field = trimmed(fields[i]);
    if (field.empty()) continue;  // the comma that ends most lines
    const std::size_t colon = field.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == field.size()) return mapping;
    if (field.compare(0, colon, "platform") == 0) mapping.platform = field.substr(colon + 1);
    ++controls;
  }
  mapping.valid = controls > 0;
  return mapping;
}

}  // namespace

std::string controller_mappings_path() {
  return user_config_folder() + "/gamecontrollerdb.txt";
}

ControllerMappings read_controller_mappings(const std::string& path) {
  ControllerMappings mappings;
  std::string text;
  const ReadResult result = read_file(path, text, kLargestFile);
  if (result == ReadResult::kMissing) return mappings;
  if (result == ReadResult::kFailed) {
    mappings.problem = "The controller mappings file " + path +
                       " could not be read. Padwire goes on without the mappings in it.";
    return mappings;
  }
  // A byte order mark, as some editors write one, is no part of the first line.
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const Mapping mapping = read_mapping(line);
    if (!mapping.valid) {
      mappings.lines.clear();
      mappings.problem = "Line " + std::to_string(number) + " of the controller mappings file " +
                         path + " is not a game controller mapping (GUID,name,control:input,...)." +
                         " Padwire goes on without the mappings in that file.";
      return mappings;
    }
    if (mapping.platform.empty() || mapping.platform == "Linux") mappings.lines.push_back(line);
  }
  return mappings;
}

}  // namespace padwire::lin

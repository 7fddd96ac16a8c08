#include "platform/linux/linux_settings_text.h"

#include <algorithm>
#include <utility>

#include "shell/text_rules.h"

namespace padwire::lin {

namespace {

constexpr std::string_view kFirstLine =
    "; Padwire settings, written at each change: edit them only while Padwire is not running";
constexpr std::string_view kEndMarker = "; end of settings";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

bool is_control(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

void append_hex_escape(std::string& out, unsigned char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[c >> 4];
  out += kDigits[c & 0xF];
}

// The escaped form of a key or value: see the header for what is escaped.
std::string escape(std::string_view text, bool is_key) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (next_code_point(text, i)) {
        out.append(text.substr(start, i - start));
      } else {
        append_hex_escape(out, c);
        ++i;
      }
      continue;
    }
    ++i;
    const bool at_end = start == 0 || i == text.size();
    switch (c) {
      case '\\':
        out += "\\\\";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\t':
        out += "\\t";
        continue;
      default:
        break;
    }
    const bool escaped = is_control(c) || (c == ' ' && at_end) || (is_key && c == '=') ||
                         (is_key && start == 0 && (c == '[' || c == ';' || c == '#'));
    if (escaped) {
      append_hex_escape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = to_lower_ascii(c);
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

std::optional<std::string> unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hex_value(text[i + 1]), low = hex_value(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

// Raw lines hold UTF-8 text without control characters other than the tab.
bool is_clean_line(std::string_view line) {
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c < 0x80) {
      if (is_control(c) && c != '\t') return false;
      ++i;
    } else if (!next_code_point(line, i)) {
      return false;
    }
  }
  return true;
}

std::optional<std::pair<std::string, std::string>> parse_header(std::string_view line) {
  if (line.size() < 2 || line.back() != ']') return std::nullopt;
  const std::string_view inside = line.substr(1, line.size() - 2);
  const auto slash = inside.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view app = inside.substr(0, slash), section = inside.substr(slash + 1);
  if (!valid_section_name(app) || !valid_section_name(section)) return std::nullopt;
  return std::pair{std::string(app), std::string(section)};
}

template <typename Sections>
auto find_section(Sections& sections, std::string_view app, std::string_view name) {
  return std::find_if(sections.begin(), sections.end(), [&](const auto& s) {
    return equal_ignoring_case(s.app, app) && equal_ignoring_case(s.name, name);
  });
}

template <typename Values>
auto find_value(Values& values, std::string_view key) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& v) { return equal_ignoring_case(v.key, key); });
}

}  // namespace

const std::string* SettingsTree::find(std::string_view app, std::string_view section,
                                      std::string_view key) const {
  const auto s = find_section(sections_, app, section);
  if (s == sections_.end()) return nullptr;
  const auto v = find_value(s->values, key);
  return v == s->values.end() ? nullptr : &v->text;
}

std::optional<std::string> SettingsTree::put(std::string_view app, std::string_view section,
                                             std::string_view key, std::string_view text) {
  auto s = find_section(sections_, app, section);
  if (s == sections_.end()) {
    s = sections_.insert(sections_.end(), Section{std::string(app), std::string(section), {}});
  }
  const auto v = find_value(s->values, key);
  if (v == s->values.end()) {
    s->values.push_back({std::string(key), std::string(text)});
    return std::nullopt;
  }
  return std::exchange(v->text, std::string(text));
}

void SettingsTree::erase(std::string_view app, std::string_view section, std::string_view key) {
  const auto s = find_section(sections_, app, section);
  if (s == sections_.end()) return;
  const auto v = find_value(s->values, key);
  if (v != s->values.end()) s->values.erase(v);
  if (s->values.empty()) sections_.erase(s);
}

bool valid_section_name(std::string_view name) {
  return !name.empty() && name.find('\\') == std::string_view::npos &&
         std::none_of(name.begin(), name.end(),
                      [](char c) { return is_control(static_cast<unsigned char>(c)); });
}

std::string format_settings(const SettingsTree& tree) {
  std::string text(kFirstLine);
  text += '\n';
  for (const auto& section : tree.sections()) {
    if (section.values.empty()) continue;
    text += "\n[" + section.app + "\\" + section.name + "]\n";
    for (const auto& value : section.values) {
      text += escape(value.key, true) + "=" + escape(value.text, false) + "\n";
    }
  }
  text += '\n';
  text += kEndMarker;
  text += '\n';
  return text;
}

std::optional<SettingsTree> parse_settings(std::string_view text) {
  // The end marker's line, with its line break, closes the file.
  if (!text.ends_with('\n')) return std::nullopt;
  std::string_view body = text.substr(0, text.size() - 1);
  if (body.ends_with('\r')) body.remove_suffix(1);
  if (!body.ends_with(kEndMarker)) return std::nullopt;
  body.remove_suffix(kEndMarker.size());
  if (!body.empty() && !body.ends_with('\n')) return std::nullopt;

  // A byte order mark, which some editors put at the start of a UTF-8 file.
  if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());

  SettingsTree tree;
  std::optional<std::pair<std::string, std::string>> section;
  while (!body.empty()) {
    const auto end = body.find('\n');
    std::string_view line = body.substr(0, end);
    body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!is_clean_line(line)) return std::nullopt;
    const std::string_view trimmed = trim_blanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;
    if (line.front() == '[') {
      section = parse_header(line);
      if (!section) return std::nullopt;
      continue;
    }
    const auto equals = line.find('=');
    if (!section || equals == std::string_view::npos) return std::nullopt;
    const auto key = unescape(trim_blanks(line.substr(0, equals)));
    const auto value = unescape(trim_blanks(line.substr(equals + 1)));
    if (!key || key->empty() || !value) return std::nullopt;
    tree.put(section->first, section->second, *key, *value);
  }
  return tree;
}

}  // namespace padwire::lin

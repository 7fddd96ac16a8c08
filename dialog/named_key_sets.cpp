// Named key sets: choosing a list entry loads that stored set into the dialog, and Save stores
// the dialog's set as Custom and, under a further name, as a named set.
//
// Three rules of this program where stored sets meet the store's own structure:
// - A name becomes a section of the store, beside "Custom" (the options and the Custom set) and
//   "Names" (the list of names). A set's keys are only "0" to "13", so the options can never be
//   overwritten, and any case of "Custom" simply stores the Custom set again. "Names" in any case
//   would put key codes over the list itself, so it is refused; so is a name the store cannot
//   keep as one section: a backslash (the registry's path separator), control characters, text
//   that is not valid UTF-8, or more than 255 characters. A refused Save shows why, writes
//   nothing, and leaves the dialog open with its set, so the user can pick another name. A
//   listed name that cannot be a set holds no set, and choosing it loads nothing.
// - A new name goes under the lowest empty key from "1" to "32". While the keys run from "1"
//   without gaps that is the count of list entries, the next key; after a gap left by an outside
//   change the count can point at a key that is taken, and the gap is filled instead, so no
//   listed name is ever overwritten and every stored name is listed at the next opening.
// - With all 32 keys holding names the list is full: Save refuses a new name with a message,
//   as a name under "33" would never be listed. Listed names and Custom can still be saved.
#include <algorithm>
#include <optional>

#include "dialog/form_joy_config.h"
#include "dialog/key_names.h"
#include "shell/form_padwire.h"
#include "shell/settings_schema.h"
#include "shell/text_conversions.h"
#include "shell/text_rules.h"

namespace padwire {

namespace {

constexpr std::size_t kMaxSectionName = 255;  // characters (UTF-16 units) of a registry key name

std::string trim_spaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

KeySetNameProblem key_set_name_problem(std::string_view name) {
  if (equal_ignoring_case(name, settings::kNamesRead)) return KeySetNameProblem::reserved;
  std::size_t units = 0;
  for (std::size_t i = 0; i < name.size();) {
    const auto c = next_code_point(name, i);
    if (!c || *c == '\\' || *c < 0x20 || (*c >= 0x7F && *c <= 0x9F)) {
      return KeySetNameProblem::bad_characters;
    }
    units += *c >= 0x10000 ? 2 : 1;
  }
  if (units > kMaxSectionName) return KeySetNameProblem::too_long;
  return KeySetNameProblem::none;
}

struct FormJoyConfig::SaveTarget {
  std::string name;            // the section of the named set; empty: the Custom set only
  std::optional<int> new_key;  // the key of "Names" a new name goes under
};

void FormJoyConfig::cmbName_Click() {
  if (!loaded_) return;
  if (cmbName.ListIndex < 0 || cmbName.Text.empty()) return;
  if (key_set_name_problem(cmbName.Text) != KeySetNameProblem::none) return;
  for (int i = 0; i < kPadButtonCount; ++i) {
    PadButtonControl& button = btnJoy[static_cast<std::size_t>(i)];
    // Taken as stored, unchecked; a missing key keeps the button's current code.
    button.Tag =
        platform_.settings.get(settings::kApp, cmbName.Text, std::to_string(i), button.Tag);
    refresh_tooltip(i);
  }
}

void FormJoyConfig::refuse(const std::string& text) {
  platform_.desktop.message_box(text, Severity::kWarning, settings::kApp);
}

std::optional<FormJoyConfig::SaveTarget> FormJoyConfig::resolve_save_name() {
  std::string name = trim_spaces(cmbName.Text);
  if (name.empty() || name == settings::kCustom) return SaveTarget{};

  // A listed name in another case is the listed set, spelt as the list spells it.
  const auto listed =
      std::find_if(cmbName.entries.begin(), cmbName.entries.end(),
                   [&](const std::string& e) { return equal_ignoring_case(e, name); });
  if (listed != cmbName.entries.end()) name = *listed;

  switch (key_set_name_problem(name)) {
    case KeySetNameProblem::none:
      break;
    case KeySetNameProblem::reserved:
      refuse("\"" + name +
             "\" cannot be the name of a key set: the list of key-set names is stored under it. "
             "Please type another name.");
      return std::nullopt;
    case KeySetNameProblem::bad_characters:
      refuse(
          "A key-set name cannot contain a backslash or control characters. Please type "
          "another name.");
      return std::nullopt;
    case KeySetNameProblem::too_long:
      refuse("A key-set name can be at most 255 characters long. Please type a shorter name.");
      return std::nullopt;
  }
  if (listed != cmbName.entries.end()) return SaveTarget{name, std::nullopt};

  auto key_is_free = [&](int key) {
    return platform_.settings.get(settings::kApp, settings::kNamesRead, std::to_string(key), "")
        .empty();
  };
  std::optional<int> key;
  for (int n = 1; !key && n <= settings::kMaxNames; ++n) {
    if (key_is_free(n)) key = n;
  }
  if (!key) {
    refuse(
        "The list of key-set names is full: it holds 32 names. Save under one of the listed "
        "names, or clear the name to save the Custom set only.");
    return std::nullopt;
  }
  return SaveTarget{name, key};
}

void FormJoyConfig::btnSave_Click() {
  if (!loaded_) return;
  // The name is settled first, so that a refused name changes nothing at all.
  const std::optional<SaveTarget> target = resolve_save_name();
  if (!target) return;

  // A code that is not 0 to 255 leaves the main form's key as it was; the text is stored back
  // unchanged either way.
  for (int i = 0; i < kPadButtonCount; ++i) {
    const std::string& tag = btnJoy[static_cast<std::size_t>(i)].Tag;
    if (const auto code = text_to_key_code(tag)) pad_key(main_.engine.keys, i) = *code;
  }
  for (int i = 0; i < kPadButtonCount; ++i) {
    platform_.settings.save(settings::kApp, settings::kCustom, std::to_string(i),
                            btnJoy[static_cast<std::size_t>(i)].Tag);
  }
  if (target->new_key) {
    platform_.settings.save(settings::kApp, settings::kNamesWrite, std::to_string(*target->new_key),
                            target->name);
  }
  if (!target->name.empty()) {
    for (int i = 0; i < kPadButtonCount; ++i) {
      platform_.settings.save(settings::kApp, target->name, std::to_string(i),
                              btnJoy[static_cast<std::size_t>(i)].Tag);
    }
  }
  // The unload puts the main form back on Custom, which now holds what was just saved.
  unload_window();
}

}  // namespace padwire

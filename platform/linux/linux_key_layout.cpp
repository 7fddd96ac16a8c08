#include "platform/linux/linux_key_layout.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/common/us_scan_codes.h"
#include "platform/linux/linux_key_codes.h"

namespace padwire::lin {

namespace {

// XKB numbers keys as the Linux key code plus 8.
constexpr xkb_keycode_t kKeycodeOffset = 8;
// The typing block's keys all have Linux codes (and set-1 scan codes, the same numbers) below this.
constexpr std::size_t kPositions = 128;

// The US punctuation keys' codes, in the order a key that a letter left takes the first one no
// key took; then VK_OEM_8, which no US key has.
constexpr std::uint8_t kPunctuation[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,
                                         0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xE2};
constexpr std::uint8_t kSpareCode = 0xDF;

bool is_letter(int vk) {
  return vk >= 'A' && vk <= 'Z';
}
bool is_digit(int vk) {
  return vk >= '0' && vk <= '9';
}
bool is_punctuation(int vk) {
  return std::find(std::begin(kPunctuation), std::end(kPunctuation), vk) != std::end(kPunctuation);
}

// The typing block: each virtual key with its key on a US keyboard, by position.
struct Place {
  int key;
  std::uint8_t us_vk;
};
std::vector<Place> typing_block() {
  std::vector<Place> places;
  for (int vk = 0; vk < 256; ++vk) {
    if (is_letter(vk) || is_digit(vk) || is_punctuation(vk)) {
      places.push_back(
          {linux_key_for_vk(static_cast<std::uint8_t>(vk)), static_cast<std::uint8_t>(vk)});
    }
  }
  std::sort(places.begin(), places.end(), [](Place a, Place b) { return a.key < b.key; });
  return places;
}

// What the layout's keys give in one group, and the modifiers that reach their levels.
class KeymapView {
 public:
  KeymapView(xkb_keymap* keymap, xkb_layout_index_t group) : keymap_(keymap), group_(group) {
    shift_ = mods_held_by(KEY_LEFTSHIFT);
    level3_key_ = find_level3_key();
    if (level3_key_ != 0) level3_ = mods_held_by(level3_key_);
  }

  // The one keysym at a level of a key; 0 for none (or several).
  xkb_keysym_t symbol(int key, xkb_level_index_t level) const {
    const xkb_keysym_t* syms = nullptr;
    const xkb_layout_index_t layout = group_of(key);
    if (layout == XKB_LAYOUT_INVALID) return 0;
    const int count = xkb_keymap_key_get_syms_by_level(keymap_, keycode(key), layout, level, &syms);
    return count == 1 ? syms[0] : 0;
  }

  // The key and modifiers that give the keysym on a key of the typing block, with the fewest
  // modifiers; nothing when no key does.
  std::optional<LayoutKey> find(xkb_keysym_t wanted, const std::vector<Place>& places) const {
    std::optional<LayoutKey> best;
    int best_cost = 4;
    for (const Place& place : places) {
      const xkb_layout_index_t layout = group_of(place.key);
      if (layout == XKB_LAYOUT_INVALID) continue;
      const xkb_level_index_t levels =
          xkb_keymap_num_levels_for_key(keymap_, keycode(place.key), layout);
      for (xkb_level_index_t level = 0; level < levels; ++level) {
        if (symbol(place.key, level) != wanted) continue;
        const std::optional<LayoutKey> reached = reach(place.key, layout, level);
        const int cost = reached ? (reached->shift ? 1 : 0) + (reached->level3 ? 2 : 0) : 4;
        if (cost < best_cost) {
          best = reached;
          best_cost = cost;
        }
      }
    }
    return best;
  }

 private:
  static xkb_keycode_t keycode(int key) { return static_cast<xkb_keycode_t>(key) + kKeycodeOffset; }

  // Keys of fewer groups than the active one wrap round, as XKB does by default.
  xkb_layout_index_t group_of(int key) const {
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap_, keycode(key));
    return groups == 0 ? XKB_LAYOUT_INVALID : group_ % groups;
  }

  xkb_mod_mask_t mods_held_by(int key) const {
    xkb_state* state = xkb_state_new(keymap_);
    if (state == nullptr) return 0;
    xkb_state_update_key(state, keycode(key), XKB_KEY_DOWN);
    const xkb_mod_mask_t mods = xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED);
    xkb_state_unref(state);
    return mods;
  }

  // The key that selects the third level: right Alt where the layout makes it so, else the
  // first key a virtual keyboard has that does.
  int find_level3_key() const {
    if (symbol(KEY_RIGHTALT, 0) == XKB_KEY_ISO_Level3_Shift) return KEY_RIGHTALT;
    for (int key : linux_keys_in_tables()) {
      if (symbol(key, 0) == XKB_KEY_ISO_Level3_Shift) return key;
    }
    return 0;
  }

  std::optional<LayoutKey> reach(int key, xkb_layout_index_t layout,
                                 xkb_level_index_t level) const {
    if (level == 0) return LayoutKey{key};
    xkb_mod_mask_t masks[16];
    const std::size_t count =
        xkb_keymap_key_get_mods_for_level(keymap_, keycode(key), layout, level, masks, 16);
    const auto offers = [&](xkb_mod_mask_t mask) {
      return std::find(masks, masks + count, mask) != masks + count;
    };
    if (shift_ != 0 && offers(shift_)) return LayoutKey{key, true};
    if (level3_ != 0 && offers(level3_)) return LayoutKey{key, false, level3_key_};
    if (shift_ != 0 && level3_ != 0 && offers(shift_ | level3_)) {
      return LayoutKey{key, true, level3_key_};
    }
    return std::nullopt;
  }

  xkb_keymap* keymap_;
  xkb_layout_index_t group_;
  xkb_mod_mask_t shift_ = 0;
  xkb_mod_mask_t level3_ = 0;
  int level3_key_ = 0;
};

std::string trimmed(std::string text) {
  const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
  text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
  text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
  return text;
}

// The first of a comma-separated list, when it is a plain name (or empty).
std::optional<std::string> first_name(const std::string& list) {
  std::string name = trimmed(list.substr(0, list.find(',')));
  const bool plain = std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) != 0 || c == '_' || c == '-';
  });
  if (!plain) return std::nullopt;
  return name;
}

LayoutNames names_of(const std::string& layout_list, const std::string& variant_list) {
  const std::optional<std::string> layout = first_name(layout_list);
  const std::optional<std::string> variant = first_name(variant_list);
  if (!layout || layout->empty() || !variant) return {};
  return {*layout, *variant};
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// XKBLAYOUT="fr" and the like, as a shell would read the simple assignments of that file.
LayoutNames names_in_file(const std::string& path) {
  std::ifstream in(path);
  std::string line, layout, variant;
  while (std::getline(in, line)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = trimmed(line.substr(0, equals));
    std::string value = trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    if (name == "XKBLAYOUT") layout = value;
    if (name == "XKBVARIANT") variant = value;
  }
  return names_of(layout, variant);
}

}  // namespace

struct KeyLayout::Tables {
  std::array<std::optional<LayoutKey>, 256> by_vk;
  std::array<std::uint8_t, kPositions> vk_at{};
};

LayoutNames parse_layout_setting(const std::string& setting) {
  const std::string text = trimmed(setting);
  const std::size_t open = text.find('(');
  if (open == std::string::npos) return names_of(text, "");
  if (text.back() != ')' || text.find(',') != std::string::npos) return {};
  return names_of(text.substr(0, open), text.substr(open + 1, text.size() - open - 2));
}

LayoutNames layout_names(const std::string& setting, const std::string& keyboard_file) {
  if (LayoutNames names = parse_layout_setting(setting); !names.layout.empty()) return names;
  LayoutNames names =
      names_of(environment("XKB_DEFAULT_LAYOUT"), environment("XKB_DEFAULT_VARIANT"));
  if (!names.layout.empty()) return names;
  names = names_in_file(keyboard_file);
  if (!names.layout.empty()) return names;
  return {"us", ""};
}

KeyLayout::KeyLayout()
    : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)), tables_(std::make_unique<Tables>()) {
  // A layout XKB does not know is an answer (the next source is tried), not a fault to report.
  if (context_) xkb_context_set_log_level(context_, XKB_LOG_LEVEL_CRITICAL);
}

KeyLayout::~KeyLayout() {
  xkb_state_unref(state_);
  xkb_keymap_unref(keymap_);
  xkb_context_unref(context_);
}

std::unique_ptr<KeyLayout> KeyLayout::from_names(const LayoutNames& names) {
  std::unique_ptr<KeyLayout> layout(new KeyLayout());
  if (!layout->context_ || names.layout.empty()) return nullptr;
  xkb_rule_names rules{};
  rules.layout = names.layout.c_str();
  rules.variant = names.variant.c_str();
  xkb_keymap* keymap =
      xkb_keymap_new_from_names(layout->context_, &rules, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!keymap) return nullptr;
  const std::string name =
      names.variant.empty() ? names.layout : names.layout + "(" + names.variant + ")";
  layout->use(keymap, xkb_state_new(keymap), name);
  return layout;
}

void KeyLayout::use(xkb_keymap* keymap, xkb_state* state, std::string name) {
  xkb_state_unref(state_);
  xkb_keymap_unref(keymap_);
  keymap_ = keymap;
  state_ = state;
  name_ = std::move(name);
  rebuild();
}

void KeyLayout::rebuild() {
  Tables tables;
  if (keymap_ && state_) {
    const xkb_layout_index_t group = xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE);
    const KeymapView view(keymap_, group);
    const std::vector<Place> places = typing_block();
    std::array<bool, 256> taken{};
    const auto take = [&](int key, std::uint8_t vk) {
      tables.vk_at[static_cast<std::size_t>(key)] = vk;
      taken[vk] = true;
    };
    // Letters by their letter, the top row by its digits; then every other key by its US place,
    // unless that code is a letter's that moved elsewhere.
    for (const Place& place : places) {
      const std::uint32_t letter =
          xkb_keysym_to_utf32(xkb_keysym_to_lower(view.symbol(place.key, 0)));
      const int vk = letter >= 'a' && letter <= 'z' ? static_cast<int>(letter - 'a' + 'A') : 0;
      if (vk != 0 && !taken[static_cast<std::size_t>(vk)]) {
        take(place.key, static_cast<std::uint8_t>(vk));
      } else if (is_digit(place.us_vk)) {
        take(place.key, place.us_vk);
      }
    }
    for (const Place& place : places) {
      if (tables.vk_at[static_cast<std::size_t>(place.key)] == 0 && !taken[place.us_vk]) {
        take(place.key, place.us_vk);
      }
    }
    std::vector<std::uint8_t> free;
    for (std::uint8_t vk : kPunctuation) {
      if (!taken[vk]) free.push_back(vk);
    }
    free.push_back(kSpareCode);
    for (const Place& place : places) {
      if (tables.vk_at[static_cast<std::size_t>(place.key)] == 0 && !free.empty()) {
        take(place.key, free.front());
        free.erase(free.begin());
      }
    }

    for (const Place& place : places) {
      const std::uint8_t vk = place.us_vk;
      std::optional<LayoutKey>& key = tables.by_vk[vk];
      // Letters and digits type themselves.
      if (is_letter(vk) || is_digit(vk)) {
        key = view.find(static_cast<xkb_keysym_t>(std::tolower(vk)), places);
      }
      for (const Place& bound : places) {
        if (!key && tables.vk_at[static_cast<std::size_t>(bound.key)] == vk)
          key = LayoutKey{bound.key};
      }
      if (!key && is_punctuation(vk)) {
        if (const std::optional<XKeysym> us = x_keysym_for_vk(vk))
          key = view.find(us->keysym, places);
      }
      if (!key) key = LayoutKey{place.key};
    }
  }
  *tables_ = tables;
}

std::optional<LayoutKey> KeyLayout::key_for(std::uint8_t vk) {
  update();
  return tables_->by_vk[vk];
}

int KeyLayout::virtual_key_at(int linux_key) {
  update();
  if (linux_key <= 0 || linux_key >= static_cast<int>(kPositions)) return 0;
  return tables_->vk_at[static_cast<std::size_t>(linux_key)];
}

int KeyLayout::virtual_key_at_keycode(std::uint32_t xkb_keycode) {
  return xkb_keycode > kKeycodeOffset
             ? virtual_key_at(static_cast<int>(xkb_keycode - kKeycodeOffset))
             : 0;
}

std::uint32_t KeyLayout::map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
  if (code > 255) return 0;
  if (map_type == 0) {
    // The typing block's Linux key codes are its set-1 scan codes.
    if (const std::optional<LayoutKey> key = key_for(static_cast<std::uint8_t>(code))) {
      return static_cast<std::uint32_t>(key->key);
    }
    return static_cast<std::uint32_t>(us_scan_code(static_cast<int>(code)));
  }
  if (map_type == 1) {
    if (const int vk = virtual_key_at(static_cast<int>(code)))
      return static_cast<std::uint32_t>(vk);
    return static_cast<std::uint32_t>(us_virtual_key(static_cast<int>(code)));
  }
  return 0;
}

std::string KeyLayout::name() {
  update();
  if (!name_.empty() || !keymap_ || !state_) return name_;
  const char* name = xkb_keymap_layout_get_name(
      keymap_, xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE));
  return name ? name : "";
}

}  // namespace padwire::lin

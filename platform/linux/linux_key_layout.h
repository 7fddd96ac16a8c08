// The user's keyboard layout, through libxkbcommon: which key of the layout a virtual key goes
// to (with Shift or the third-level key, AltGr, where its character needs them), and which
// virtual key a key of the layout stands for. One rule serves every key sink and the assignment
// dialog's capture, so that a key bound in the dialog types that key again:
//  - letters are found by their letter and digits by their digit, wherever the layout has them
//    (AZERTY's A is the key right of Tab; its 1 is Shift and the key left of 2);
//  - the top row binds its digits by position (AZERTY's & binds 1, é binds 2);
//  - every other key of the typing block binds the code of its place on a US keyboard (QWERTZ's
//    ß binds the code of the US minus key, ü that of the US [), except the key a letter left,
//    which takes a code no key took (AZERTY's comma key, where US keyboards have M, takes the code
//    of the US semicolon key, whose place holds the letter M), and those codes type that key;
//  - a punctuation code that no key stands for types its US character where the layout has it
//    (with Shift or AltGr), else the key at its US place.
// Keys outside the typing block (navigation, modifiers, keypad, function keys) are the same on
// every layout and are not the layout's business.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace padwire::lin {

// A key of the layout and the modifiers its character needs.
struct LayoutKey {
  int key = 0;         // Linux key code (KEY_*)
  bool shift = false;  // Shift held around it
  int level3 = 0;      // the key held around it to reach the third level (AltGr); 0: none
  friend bool operator==(const LayoutKey&, const LayoutKey&) = default;
};

// An XKB layout and variant by name ("fr", "de" and "nodeadkeys"); an empty layout is none.
struct LayoutNames {
  std::string layout;
  std::string variant;
  friend bool operator==(const LayoutNames&, const LayoutNames&) = default;
};

// Where the settings file may name the layout: [Padwire\Linux] KeyboardLayout=fr.
inline constexpr const char* kLayoutSection = "Linux";
inline constexpr const char* kLayoutKey = "KeyboardLayout";

// The names to use when no display server tells the layout: `setting` (the settings file's
// Linux\KeyboardLayout, "fr" or "de(nodeadkeys)") when it names one, else XKB_DEFAULT_LAYOUT and
// XKB_DEFAULT_VARIANT, else XKBLAYOUT and XKBVARIANT of `keyboard_file` (the system's console
// and installer setting), else us. Of a list ("us,de") the first counts; a name that holds
// anything but letters, digits, '_' and '-' is skipped as if absent.
LayoutNames layout_names(const std::string& setting,
                         const std::string& keyboard_file = "/etc/default/keyboard");

// Parses "layout" or "layout(variant)"; empty names for anything else.
LayoutNames parse_layout_setting(const std::string& setting);

class KeyLayout {
 public:
  // The layout compiled from XKB's data files; null when they do not know it.
  static std::unique_ptr<KeyLayout> from_names(const LayoutNames& names);
  virtual ~KeyLayout();
  KeyLayout(const KeyLayout&) = delete;
  KeyLayout& operator=(const KeyLayout&) = delete;

  // The key a virtual key of the typing block types; nothing for the other virtual keys, whose
  // key is the same on every layout.
  std::optional<LayoutKey> key_for(std::uint8_t vk);
  // The virtual key the key with this Linux key code stands for; 0 outside the typing block.
  int virtual_key_at(int linux_key);
  // The same by XKB keycode (the Linux key code plus 8), as X11 and Wayland number keys in
  // their events.
  int virtual_key_at_keycode(std::uint32_t xkb_keycode);
  // MapVirtualKey in this layout: type 0 virtual key -> set-1 scan code of the key it types,
  // type 1 the inverse; keys outside the typing block as on a US keyboard.
  std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type);
  // The layout's name, for the user ("fr", or the name the display server gives).
  std::string name();

 protected:
  KeyLayout();
  // Takes over a keymap and its state (either may be null: then nothing is the layout's) and
  // works out the tables for the state's active group. An empty name: the keymap's name of
  // that group.
  void use(xkb_keymap* keymap, xkb_state* state, std::string name);
  xkb_context* context() const { return context_; }
  xkb_state* state() const { return state_; }
  // Brings the keymap up to date before every question; the default has nothing to follow.
  virtual void update() {}
  // Works the tables out again, after the state's group changed.
  void rebuild();

 private:
  struct Tables;
  xkb_context* context_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* state_ = nullptr;
  std::string name_;
  std::unique_ptr<Tables> tables_;
};

}  // namespace padwire::lin

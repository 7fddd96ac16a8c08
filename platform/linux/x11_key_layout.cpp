// The keymap comes from the server through xkbcommon-x11; the server tells of a new keymap or a
// switch of group through XKB events on the connection, which are read, without waiting, before
// every question about the layout.
#include "platform/linux/x11_key_layout.h"

#include <xcb/xcb.h>
// xcb's XKB header names a member `explicit`, a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

#include <cstdlib>

namespace padwire::lin {

namespace {

class X11KeyLayout final : public KeyLayout {
 public:
  ~X11KeyLayout() override {
    if (connection_) xcb_disconnect(connection_);
  }

  bool open() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (!context() || xcb_connection_has_error(connection_)) return false;
    std::uint8_t event_base = 0;
    if (!xkb_x11_setup_xkb_extension(
            connection_, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &event_base, nullptr)) {
      return false;
    }
    event_base_ = event_base;
    device_ = xkb_x11_get_core_keyboard_device_id(connection_);
    if (device_ < 0 || !read_keymap()) return false;
    // A new keymap, or a switch of group; modifier changes are not asked for.
    constexpr std::uint16_t kEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr std::uint16_t kMapParts =
        XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
        XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
        XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = details.stateDetails = XCB_XKB_STATE_PART_GROUP_BASE |
                                                 XCB_XKB_STATE_PART_GROUP_LATCH |
                                                 XCB_XKB_STATE_PART_GROUP_LOCK;
    xcb_xkb_select_events_aux(connection_, static_cast<xcb_xkb_device_spec_t>(device_), kEvents, 0,
                              0, kMapParts, kMapParts, &details);
    xcb_flush(connection_);
    return true;
  }

 protected:
  void update() override {
    bool reread = false, regroup = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7F) == event_base_) {
        const auto* state = reinterpret_cast<xcb_xkb_state_notify_event_t*>(event);
        if (state->xkbType == XCB_XKB_STATE_NOTIFY && this->state()) {
          xkb_state_update_mask(
              this->state(), state->baseMods, state->latchedMods, state->lockedMods,
              static_cast<xkb_layout_index_t>(state->baseGroup),
              static_cast<xkb_layout_index_t>(state->latchedGroup), state->lockedGroup);
          regroup = true;
        } else {
          reread = true;
        }
      }
      std::free(event);
    }
    if (reread) {
      read_keymap();
    } else if (regroup) {
      rebuild();
    }
  }

 private:
  bool read_keymap() {
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(context(), connection_, device_,
                                                        XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) return false;
    xkb_state* state = xkb_x11_state_new_from_device(keymap, connection_, device_);
    use(keymap, state, "");
    return state != nullptr;
  }

  xcb_connection_t* connection_ = nullptr;
  std::int32_t device_ = -1;
  std::uint8_t event_base_ = 0;
};

}  // namespace

std::unique_ptr<KeyLayout> x11_key_layout() {
  if (!std::getenv("DISPLAY")) return nullptr;
  auto layout = std::make_unique<X11KeyLayout>();
  if (!layout->open()) return nullptr;
  return layout;
}

std::shared_ptr<KeyLayout> open_key_layout(const std::string& setting) {
  const LayoutNames named = parse_layout_setting(setting);
  if (!named.layout.empty()) {
    if (std::unique_ptr<KeyLayout> layout = KeyLayout::from_names(named)) return layout;
  }
  if (std::unique_ptr<KeyLayout> layout = x11_key_layout()) return layout;
  if (std::unique_ptr<KeyLayout> layout = KeyLayout::from_names(layout_names(""))) return layout;
  return KeyLayout::from_names({"us", ""});
}

}  // namespace padwire::lin

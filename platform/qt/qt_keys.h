// Qt's key events as the Windows virtual-key codes the assignment dialog stores.
#pragma once

#include <cstdint>
#include <functional>

class QKeyEvent;

namespace padwire::qt {

// The virtual key of the key with this native scan code on the user's keyboard layout (the key
// at that place, whatever Shift or AltGr makes it type); 0 when the layout does not place it.
using TypingKeyAt = std::function<int(std::uint32_t native_scan_code)>;

// The virtual-key code of the key pressed: a key of the typing block by `typing_key_at`, other
// keys by Qt's key; without a lookup or the event's native scan code, by the US layout (Shift+1
// is still the "1" key). 0 for a key without one.
int virtual_key_of(const QKeyEvent& event, const TypingKeyAt& typing_key_at = {});

// The Shift (1), Ctrl (2) and Alt (4) bits of a key event, as a key-down handler gets them.
int shift_state_of(const QKeyEvent& event);

}  // namespace padwire::qt

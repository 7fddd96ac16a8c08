// Qt's key events as the Windows virtual-key codes the assignment dialog stores.
#pragma once

class QKeyEvent;

namespace padwire::lin {

// The virtual-key code of the key pressed (by the US layout, so Shift+1 is still the "1" key);
// 0 for a key without one.
int virtual_key_of(const QKeyEvent& event);

// The Shift (1), Ctrl (2) and Alt (4) bits of a key event, as a key-down handler gets them.
int shift_state_of(const QKeyEvent& event);

}  // namespace padwire::lin

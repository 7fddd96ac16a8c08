// Qt's key events as the Windows virtual-key codes the assignment dialog stores.
#pragma once

class QKeyEvent;

namespace padwire::lin {

class KeyLayout;

// The virtual-key code of the key pressed: a key of the typing block by `layout` (its place, as
// KeyLayout::virtual_key_at tells, whatever Shift or AltGr made it type), other keys by Qt's
// key; without a layout or the event's native scan code, by the US layout (Shift+1 is still
// the "1" key). 0 for a key without one.
int virtual_key_of(const QKeyEvent& event, KeyLayout* layout = nullptr);

// The Shift (1), Ctrl (2) and Alt (4) bits of a key event, as a key-down handler gets them.
int shift_state_of(const QKeyEvent& event);

}  // namespace padwire::lin

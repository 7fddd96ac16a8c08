// The keyboard layout the X server (or XWayland) types with, followed as the user switches it.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/linux_key_layout.h"

namespace padwire::lin {

// The X server's keymap and active group, read through a connection of its own to the display
// of $DISPLAY; null without X or its keyboard extension.
std::unique_ptr<KeyLayout> x11_key_layout();

// The layout the program types with: the one `setting` names (the settings file's
// Linux\KeyboardLayout) when XKB knows it, else the X server's, else the one of layout_names(),
// else us; null only when XKB's data files are missing altogether.
std::shared_ptr<KeyLayout> open_key_layout(const std::string& setting);

}  // namespace padwire::lin

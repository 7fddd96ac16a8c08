// Short English names of virtual-key codes, shown as the tooltips of the pad-button controls.
#pragma once

#include <string>

namespace padwire {

// The fixed name of a virtual-key code, independent of the active keyboard layout; empty text for
// any code without a name, including negative codes and codes above 255.
std::string KeyName(int code);

}  // namespace padwire

// The tray icon's popup menu as data: items in menu order with their captions, check marks and
// enabled state. Back ends render it each time the menu opens.
#pragma once

#include <array>
#include <string_view>

#include "platform/ui_model.h"

namespace padwire {

inline constexpr std::size_t kMenuItemCount = 24;

struct MainMenu {
  MenuItem mnuEnabled{"mnuEnabled", "Enabled", true};
  MenuItem mnuSep1{"mnuSep1", "-"};
  MenuItem mnuConfig{"mnuConfig", "Configure Joypad..."};
  MenuItem mnuRumble{"mnuRumble", "Force Feedback..."};
  MenuItem mnuForceFeedback{"mnuForceFeedback", "-"};
  MenuItem mnuSelect{"mnuSelect", "Use M button as Select"};
  MenuItem mnuAutoFire{"mnuAutoFire", "Allow Auto-Fire"};
  MenuItem mnuLogitech{"mnuLogitech", "Logitech Wingman Patch"};
  MenuItem mnuDeadZone{"mnuDeadZone", "Analog Stick Dead Zone"};
  MenuItem mnuHatDirections{"mnuHatDirections", "D-Pad Hat as Directions"};
  MenuItem mnuStandardLayout{"mnuStandardLayout", "Standard Button Layout", true};
  MenuItem mnuSep2{"mnuSep2", "-"};
  MenuItem mnuAutodetectProfile{"mnuAutodetectProfile", "Auto-detect profile", true};
  // Checked while the system starts this program at login; the system keeps that, not the
  // settings store.
  MenuItem mnuStartAtLogin{"mnuStartAtLogin", "Start at Login"};
  MenuItem mnuSwapLR{"mnuSwapLR", "Swap L1/R1 with L2/R2 Buttons"};
  MenuItem mnuDOSApplication{"mnuDOSApplication", "Using MS-DOS based Application"};
  MenuItem mnuSep3{"mnuSep3", "-"};
  MenuItem mnuSNES9X{"mnuSNES9X", "SNES9X"};
  MenuItem mnuVGS{"mnuVGS", "Virtual Game Station"};
  MenuItem mnuCustom{"mnuCustom", "Custom"};
  MenuItem mnuSep4{"mnuSep4", "-"};
  MenuItem mnuAbout{"mnuAbout", "About..."};
  MenuItem mnuSep5{"mnuSep5", "-"};
  MenuItem mnuExit{"mnuExit", "E&xit"};

  std::array<const MenuItem*, kMenuItemCount> items() const {
    return {&mnuEnabled,
            &mnuSep1,
            &mnuConfig,
            &mnuRumble,
            &mnuForceFeedback,
            &mnuSelect,
            &mnuAutoFire,
            &mnuLogitech,
            &mnuDeadZone,
            &mnuHatDirections,
            &mnuStandardLayout,
            &mnuSep2,
            &mnuAutodetectProfile,
            &mnuStartAtLogin,
            &mnuSwapLR,
            &mnuDOSApplication,
            &mnuSep3,
            &mnuSNES9X,
            &mnuVGS,
            &mnuCustom,
            &mnuSep4,
            &mnuAbout,
            &mnuSep5,
            &mnuExit};
  }
};

}  // namespace padwire

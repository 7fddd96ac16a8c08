// Every platform service the core uses, handed to the forms by reference.
#pragma once

#include "platform/clock.h"
#include "platform/controller.h"
#include "platform/desktop.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/screenshot.h"
#include "platform/settings.h"
#include "platform/timer.h"
#include "platform/tray.h"
#include "platform/views.h"

namespace padwire {

struct Platform {
  ControllerService& input;
  Keyboard& keyboard;
  Keystrokes& keystrokes;
  Mouse& mouse;
  Tray& tray;
  SettingsStore& settings;
  Desktop& desktop;
  Screenshot& screenshot;
  Clock& clock;
  Random& random;
  TimerService& main_timer;
  Views& views;
};

}  // namespace padwire

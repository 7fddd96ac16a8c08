// Every platform service the core uses, handed to the forms by reference.
#pragma once

#include "platform/controller.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/views.h"

namespace padwire {

struct Platform {
  ControllerService& input;
  Keyboard& keyboard;
  Keystrokes& keystrokes;
  Mouse& mouse;
  Tray& tray;
  SettingsStore& settings;
  Shell& shell;
  Registry& registry;
  Screenshot& screenshot;
  Clock& clock;
  Random& random;
  TimerService& main_timer;
  Views& views;
};

}  // namespace padwire

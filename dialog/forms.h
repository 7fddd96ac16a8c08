// The program's forms as every program builds them: the main form, and the two dialogs it
// opens through the calls that would otherwise point from the shell up to the dialogs.
#pragma once

#include "dialog/form_force_feedback.h"
#include "dialog/form_joy_config.h"
#include "platform/platform.h"
#include "shell/form_padwire.h"

namespace padwire {

struct Forms {
  explicit Forms(Platform& platform);
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  FormPadwire main;
  FormForceFeedback force_feedback;
  FormJoyConfig joy_config;
};

}  // namespace padwire

#include "dialog/forms.h"

namespace padwire {

Forms::Forms(Platform& platform)
    : main(platform), force_feedback(platform, main.engine), joy_config(platform, main) {
  main.show_force_feedback = [this] { force_feedback.show(); };
  main.show_joy_config = [this] { joy_config.show(); };
}

}  // namespace padwire

#include "dialog/form_force_feedback.h"

#include "engine/pad_engine.h"
#include "shell/settings_schema.h"

namespace padwire {

FormForceFeedback::FormForceFeedback(Platform& platform, PadEngine& engine)
    : platform_(platform), engine_(engine) {}

void FormForceFeedback::show() {
  if (loaded_) {
    platform_.views.bring_to_front(View::force_feedback);
    return;
  }
  Form_Load();
  platform_.views.show(View::force_feedback, kCaption);
}

void FormForceFeedback::Form_Load() {
  loaded_ = true;
  for (OptionButton& option : optForceFeedback) option.value = false;
  // Selecting the current mode runs its click handler, so opening stores the mode again.
  // A mode outside 0 to 3 selects nothing.
  const int mode = engine_.RumbleType;
  if (mode >= 0 && mode < static_cast<int>(optForceFeedback.size())) optForceFeedback_Click(mode);
}

void FormForceFeedback::optForceFeedback_Click(int Index) {
  if (!loaded_ || Index < 0 || Index >= static_cast<int>(optForceFeedback.size())) return;
  for (std::size_t i = 0; i < optForceFeedback.size(); ++i) {
    optForceFeedback[i].value = static_cast<int>(i) == Index;
  }
  engine_.RumbleType = static_cast<std::int16_t>(Index);
  platform_.settings.save(settings::kApp, settings::kCustom, settings::kRumbleType,
                          std::to_string(Index));
}

void FormForceFeedback::btnOK_Click() {
  if (!loaded_) return;
  loaded_ = false;
  platform_.views.close(View::force_feedback, kCaption);
}

std::optional<int> FormForceFeedback::selected() const {
  for (std::size_t i = 0; i < optForceFeedback.size(); ++i) {
    if (optForceFeedback[i].value) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace padwire

// Key capture: a click on a pad-button control, or a press of that button on the controller,
// asks for a key and binds the next key-down to it. The capture is a state of the dialog, not
// a loop that waits: the request starts it and returns, the key-down handler completes it, and
// the unload abandons it.
#include <string>

#include "dialog/form_joy_config.h"
#include "dialog/key_names.h"

namespace padwire {

namespace jc = joy_config;

void FormJoyConfig::btnJoy_Click(int Index) {
  if (!loaded_ || Index < 0 || Index >= kPadButtonCount) return;
  // One capture at a time: a second request (only the preview can make one, as the controls
  // are disabled) is dropped and the waiting capture still takes the next key.
  if (Capturing) return;
  Capturing = true;

  btnSave.Enabled = false;
  cmbName.Enabled = false;
  btnConfig.Enabled = false;
  remembered_label_ = Label1.Caption;
  btnJoy[static_cast<std::size_t>(Index)].BackColor = jc::kCaptureGreen;
  for (PadButtonControl& button : btnJoy) button.Enabled = false;
  // A key pressed before this point is not taken.
  CapturedKey = 0;
  Label1.Caption = std::string(jc::kPromptPrefix)
                       .append(jc::kPadButtons[static_cast<std::size_t>(Index)].prompt_name);
  Label1.ForeColor = jc::kPromptRed;
  capture_index_ = Index;
}

void FormJoyConfig::finish_capture() {
  const auto index = static_cast<std::size_t>(capture_index_);
  for (PadButtonControl& button : btnJoy) button.Enabled = true;
  btnJoy[index].BackColor = jc::kButtonFace;
  btnSave.Enabled = true;
  cmbName.Enabled = true;
  btnConfig.Enabled = true;

  // Any key is taken, Escape, Enter and lone modifiers included, and two buttons may share
  // one; only a code of 0 or below (no real key) keeps the old assignment.
  if (CapturedKey > 0) btnJoy[index].Tag = std::to_string(CapturedKey);
  refresh_tooltip(capture_index_);

  Label1.Caption = remembered_label_;
  Label1.ForeColor = jc::kButtonText;
  capture_index_ = -1;
  Capturing = false;
}

}  // namespace padwire

// The assignment dialog's window: loading, unloading, the key-down handler and the
// game-controller panel. Key capture, the preview tick and the named key sets have files of
// their own.
#include "dialog/form_joy_config.h"

#include "dialog/key_names.h"
#include "shell/form_padwire.h"
#include "shell/settings_schema.h"
#include "shell/text_conversions.h"

namespace padwire {

namespace jc = joy_config;

FormJoyConfig::FormJoyConfig(Platform& platform, FormPadwire& main_form)
    : PadDevice(platform.clock), platform_(platform), main_(main_form) {
  create_controls();
}

void FormJoyConfig::create_controls() {
  for (int i = 0; i < kPadButtonCount; ++i) {
    const jc::PadButtonLayout& layout = jc::kPadButtons[static_cast<std::size_t>(i)];
    PadButtonControl& button = btnJoy[static_cast<std::size_t>(i)];
    button = PadButtonControl{};
    button.caption = layout.caption;
    button.font = layout.font;
    button.position = layout.position;
    LineControl& line = leader_lines[static_cast<std::size_t>(i)];
    line.name = layout.leader.name;
    line.x1 = layout.leader.x1;
    line.y1 = layout.leader.y1;
    line.x2 = layout.leader.x2;
    line.y2 = layout.leader.y2;
    line.colour = layout.leader.colour;
  }
  Image1 = {jc::kImage1, std::string(jc::kPadPicture)};
  Label1 = {jc::kLabel1, std::string(jc::kInstructions), jc::kButtonText};
  btnSave = {std::string(jc::kSaveCaption), jc::kBtnSave, true};
  Frame1 = jc::kFrame1;
  cmbName = {jc::kCmbName, {}, -1, settings::kCustom, true};
  btnConfig = {std::string(jc::kConfigCaption), jc::kBtnConfig, true};
  Timer1 = {false, jc::kTimerInterval};
}

void FormJoyConfig::show() {
  if (loaded_) {
    platform_.views.bring_to_front(View::joy_config);
    return;
  }
  Form_Load();
  platform_.views.show(View::joy_config, std::string(jc::kCaption));
}

void FormJoyConfig::close() {
  if (loaded_) unload_window();
}

void FormJoyConfig::unload_window() {
  Form_Unload();
  platform_.views.close(View::joy_config, std::string(jc::kCaption));
}

void FormJoyConfig::refresh_tooltip(int index) {
  PadButtonControl& button = btnJoy[static_cast<std::size_t>(index)];
  // Text that is not a 16-bit number has no key code, so the tooltip keeps what it showed.
  if (const auto code = text_to_int16(button.Tag)) button.ToolTipText = KeyName(*code);
}

void FormJoyConfig::Form_Load() {
  // Every load gets fresh controls, as a new native window would, so nothing of a capture the
  // last close abandoned (disabled buttons, the green one, the prompt) comes back; the fields
  // carry over. The dialog counts as open, and its preview timer runs, from the first step.
  create_controls();
  loaded_ = true;
  Timer1.Enabled = true;
  Unloading = false;
  // The pad must not type while its keys are being edited; "Enabled" keeps its check mark.
  main_.engine.Timer1.set_enabled(false);

  for (int i = 0; i < kPadButtonCount; ++i) {
    btnJoy[static_cast<std::size_t>(i)].Tag = std::to_string(pad_key(main_.engine.keys, i));
  }
  for (int i = 0; i < kPadButtonCount; ++i) refresh_tooltip(i);
  LogitechPatch = main_.engine.Logitech;
  direction_options = main_.engine.direction_options;

  // Every key from "1" to "32" is read: a missing or empty one does not end the list.
  cmbName.entries.clear();
  cmbName.Text.clear();
  cmbName.ListIndex = -1;
  cmbName.entries.emplace_back(settings::kCustom);
  for (int n = 1; n <= settings::kMaxNames; ++n) {
    std::string name =
        platform_.settings.get(settings::kApp, settings::kNamesRead, std::to_string(n), "");
    if (!name.empty()) cmbName.entries.push_back(std::move(name));
  }
  // Selecting "Custom" loads the stored Custom set over the main form's codes.
  choose_entry(0);

  Controllers_ = platform_.input.connect();
  if (!Controllers_) {
    // Unlike at start-up the program goes on: sets can still be edited and saved, without a
    // device to preview.
    PadDevice.forget();
    platform_.desktop.message_box(kDialogDirectInputError, Severity::kPlain, settings::kApp);
    return;
  }
  open_pad_device();
}

void FormJoyConfig::open_pad_device() {
  // The first controller the system lists, as the main form takes it, with shared access on
  // the dialog's own window so that the main form's exclusive device is not disturbed. The old
  // device is replaced without being unacquired; with no controller the dialog opens without
  // one, and the button count of before stays.
  PadDevice.open(*Controllers_, platform_.views.window_of(View::joy_config),
                 ControllerAccess::shared, main_.engine.standard_layout);
  if (const auto last = PadDevice.last_button_index()) LastButtonIndex = *last;
}

void FormJoyConfig::Form_Unload() {
  if (!loaded_) return;
  // A waiting capture is abandoned: nothing of it is stored and its controls go with the window.
  Unloading = true;
  main_.menu.mnuEnabled.checked = true;
  main_.engine.Timer1.set_enabled(true);
  // Custom becomes the running profile after every close, saved or not.
  main_.mnuCustom_Click();
  Capturing = false;
  CapturedKey = -1;
  capture_index_ = -1;
  // The unload itself marks the dialog closed, like the load marks it open, so a back end that
  // runs it for a native close leaves the model ready for the next load.
  Timer1.Enabled = false;
  loaded_ = false;
}

void FormJoyConfig::Form_KeyDown(std::int16_t KeyCode, int /*Shift*/) {
  if (!loaded_) return;
  // Every key-down is recorded, waiting capture or not; a code of 0 lets a capture go on waiting.
  CapturedKey = KeyCode;
  if (Capturing && capture_index_ >= 0 && CapturedKey != 0) finish_capture();
}

void FormJoyConfig::btnConfig_Click() {
  if (!loaded_) return;
  // A failure to start it is ignored.
  platform_.desktop.open_controller_panel();
}

void FormJoyConfig::choose_entry(int index) {
  if (index < 0 || index >= static_cast<int>(cmbName.entries.size())) return;
  cmbName.ListIndex = index;
  cmbName.Text = cmbName.entries[static_cast<std::size_t>(index)];
  cmbName_Click();
}

void FormJoyConfig::type_text(const std::string& text) {
  cmbName.Text = text;
  cmbName.ListIndex = -1;
}

}  // namespace padwire

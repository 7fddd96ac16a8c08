// The button assignment dialog: fourteen pad-button controls around a picture of the pad, each
// carrying the key code of its pad button, a list of named key sets, Save and a button that
// opens the system's game-controller panel. The dialog reads the controller itself so that a
// press on the pad picks the button to assign.
//
// The controls are plain data that the back end renders after each handler. They are created
// afresh at every load, as the native window is; the fields below them belong to the dialog
// object, which lives for the whole run, and keep their values from one opening to the next.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/joy_config_layout.h"
#include "engine/pad_reader.h"
#include "platform/platform.h"

namespace padwire {

class FormPadwire;

struct PadButtonControl {
  std::string caption;
  joy_config::FontRequest font;
  TwipsRect position;
  std::string Tag;          // the assigned key code as decimal text, or stored text as read
  std::string ToolTipText;  // the key's display name
  bool Enabled = true;
  Colour BackColor = joy_config::kButtonFace;
};

struct LineControl {
  std::string name;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour;
};

struct LabelControl {
  TwipsRect position;
  std::string Caption;
  Colour ForeColor = joy_config::kButtonText;
};

struct ButtonControl {
  std::string caption;
  TwipsRect position;
  bool Enabled = true;
};

// A drop-down combo box with an editable text field.
struct ComboControl {
  TwipsRect position;
  std::vector<std::string> entries;
  int ListIndex = -1;  // -1: no entry selected (also after the user types into the field)
  std::string Text;
  bool Enabled = true;
};

struct PictureControl {
  TwipsRect position;
  std::string picture;
};

struct DialogTimer {
  bool Enabled = false;
  int Interval = joy_config::kTimerInterval;
};

// Why a name cannot be used for a stored key set.
enum class KeySetNameProblem {
  none,
  reserved,        // "Names" in any case: the list of names lives in that section
  bad_characters,  // a backslash (a key path separator), a control character or invalid text
  too_long,        // more than the store's 255 characters for a section name
};
KeySetNameProblem key_set_name_problem(std::string_view name);

inline constexpr const char* kDialogDirectInputError =
    "Error starting Direct Input, please make sure you have DirectX installed";
class FormJoyConfig {
 public:
  FormJoyConfig(Platform& platform, FormPadwire& main_form);

  // "Configure Joypad...": loads and shows the dialog, or brings it forward when it is open.
  void show();
  // The window's close box: unloads without storing anything.
  void close();
  bool loaded() const { return loaded_; }

  // The user picks list entry `index` (which must exist), or types into the list's text field.
  void choose_entry(int index);
  void type_text(const std::string& text);

  void Form_Load();
  void Form_Unload();
  void Form_KeyDown(std::int16_t KeyCode, int Shift);
  void btnConfig_Click();
  void Timer1_Timer();
  void btnJoy_Click(int Index);
  void cmbName_Click();
  void btnSave_Click();

  // Controls.
  std::array<PadButtonControl, kPadButtonCount> btnJoy;
  std::array<LineControl, kPadButtonCount> leader_lines;  // by pad-button index
  PictureControl Image1;
  LabelControl Label1;
  ButtonControl btnSave;
  TwipsRect Frame1;
  ComboControl cmbName;
  ButtonControl btnConfig;
  DialogTimer Timer1;

  // Fields the windows and the tests read.
  std::int16_t LastButtonIndex = 0;
  std::int16_t CapturedKey = 0;
  bool Capturing = false;
  bool Unloading = false;
  // The dialog's own controller is open.
  bool device_open() const { return PadDevice.device() != nullptr; }

 private:
  void create_controls();
  void unload_window();
  void open_pad_device();
  void finish_capture();
  void refresh_tooltip(int index);
  struct SaveTarget;
  std::optional<SaveTarget> resolve_save_name();
  void refuse(const std::string& text);

  std::unique_ptr<ControllerList> Controllers_;
  PadReader PadDevice;  // the dialog's own device, shared access on the dialog's window
  JoyState2 PadState;
  bool LogitechPatch = false;
  DirectionOptions direction_options;              // the main form's, as the dialog loaded
  std::array<bool, 4> DirectionDown{};             // 0 Left, 1 Right, 2 Up, 3 Down
  std::array<bool, kTrackedButtons> ButtonDown{};  // by controller button number

  Platform& platform_;
  FormPadwire& main_;
  bool loaded_ = false;
  // The capture that waits: its control and the label text it replaced.
  int capture_index_ = -1;
  std::string remembered_label_;
};

}  // namespace padwire

// The fixed layout of the button assignment dialog: its window, the fourteen pad-button controls
// with their leader lines to the pad picture, and the other controls, in twips (15 per pixel at
// 96 dots per inch), measured in the client area. Back ends render from these numbers; the
// model copies them into its controls when the dialog loads.
#pragma once

#include <array>
#include <string_view>

#include "dialog/twips.h"
#include "engine/pad_buttons.h"
#include "platform/ui_model.h"

namespace padwire::joy_config {

inline constexpr std::string_view kCaption = "SideWinder Config";
// A fixed-size tool window (small caption bar, no minimise or maximise box), centred on the
// screen when it opens. Key preview is on: the dialog's key-down handler sees every key first.
inline constexpr int kClientWidth = 4335;
inline constexpr int kClientHeight = 4155;

// A font the control asks for. An empty face is the window's default font (size 0 with it).
struct FontRequest {
  std::string_view face;
  double points = 0;
  friend constexpr bool operator==(const FontRequest&, const FontRequest&) = default;
};
inline constexpr FontRequest kDialogFont{};
// Marlett draws the direction triangles ("3" to "6") and the shoulder glyph ("n"); a back end
// without it substitutes a font that shows the same shapes.
inline constexpr FontRequest kMarlett{"Marlett", 9.75};
inline constexpr FontRequest kArialSmall{"Arial", 8.25};
inline constexpr FontRequest kArial{"Arial", 9.75};

// A one-pixel line from the picture-side end (x1, y1) to the button-side end (x2, y2).
struct LineLayout {
  std::string_view name;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour;
};

inline constexpr Colour kDarkGrey = Colour::rgb_of(64, 64, 64);
inline constexpr Colour kGrey = Colour::rgb_of(128, 128, 128);
inline constexpr Colour kWindowText = Colour::system(Colour::Kind::window_text);
inline constexpr Colour kButtonFace = Colour::system(Colour::Kind::button_face);
inline constexpr Colour kButtonText = Colour::system(Colour::Kind::button_text);
// The control being assigned and the prompt of a capture.
inline constexpr Colour kCaptureGreen = Colour::rgb_of(0, 255, 0);
inline constexpr Colour kPromptRed = Colour::rgb_of(255, 0, 0);

inline constexpr int kPadButtonWidth = 360;
inline constexpr int kStartButtonWidth = 465;
inline constexpr int kPadButtonHeight = 270;

struct PadButtonLayout {
  std::string_view caption;
  FontRequest font;
  TwipsRect position;
  // How the capture prompt names the button: the controller button (counted from 1) that
  // stands for it follows in brackets; the directions come from the axes and have none.
  std::string_view prompt_name;
  LineLayout leader;
};

// Indexed by pad-button index, which is also the control's index in the button array and the
// key of a stored key set. The line names follow the order the lines were drawn in, not the
// index, so Up has Line8 and Down Line7.
// clang-format off
inline constexpr std::array<PadButtonLayout, kPadButtonCount> kPadButtons = {{
    {"X", kDialogFont, {2265, -15, kPadButtonWidth, kPadButtonHeight}, "X (4)",
     {"Line1", 2100, 1065, 2385, 240, kDarkGrey}},
    {"Y", kDialogFont, {2610, -15, kPadButtonWidth, kPadButtonHeight}, "Y (5)",
     {"Line2", 2370, 915, 2730, 240, kDarkGrey}},
    {"Z", kDialogFont, {2955, -15, kPadButtonWidth, kPadButtonHeight}, "Z (6)",
     {"Line3", 2610, 855, 3060, 255, kDarkGrey}},
    {"A", kDialogFont, {3675, 1665, kPadButtonWidth, kPadButtonHeight}, "A (1)",
     {"Line4", 2370, 1635, 3630, 1785, kDarkGrey}},
    {"B", kDialogFont, {3675, 1410, kPadButtonWidth, kPadButtonHeight}, "B (2)",
     {"Line5", 2625, 1410, 3660, 1515, kDarkGrey}},
    {"C", kDialogFont, {3675, 1155, kPadButtonWidth, kPadButtonHeight}, "C (3)",
     {"Line6", 2910, 1200, 3660, 1260, kDarkGrey}},
    {"5", kMarlett, {930, 45, kPadButtonWidth, kPadButtonHeight}, "Up",
     {"Line8", 1125, 930, 1065, 300, kDarkGrey}},
    {"6", kMarlett, {1020, 2310, kPadButtonWidth, kPadButtonHeight}, "Down",
     {"Line7", 1125, 1665, 1170, 2280, kDarkGrey}},
    {"3", kMarlett, {585, 45, kPadButtonWidth, kPadButtonHeight}, "Left",
     {"Line9", 840, 1050, 735, 315, kDarkGrey}},
    {"4", kMarlett, {1275, 45, kPadButtonWidth, kPadButtonHeight}, "Right",
     {"Line10", 1395, 1155, 1470, 315, kDarkGrey}},
    {"Start", kArialSmall, {2235, 2220, kStartButtonWidth, kPadButtonHeight}, "Start (9)",
     {"Line12", 1995, 1650, 2460, 2205, kGrey}},
    {"n", kMarlett, {90, 600, kPadButtonWidth, kPadButtonHeight}, "L (7)",
     {"Line13", 690, 1080, 465, 810, kWindowText}},
    {"n", kMarlett, {3240, 510, kPadButtonWidth, kPadButtonHeight}, "R (8)",
     {"Line14", 2985, 930, 3255, 720, kWindowText}},
    {"M", kArial, {1665, 2340, kPadButtonWidth, kPadButtonHeight}, "M (10)",
     {"Line11", 1860, 1995, 1860, 2385, kGrey}},
}};
// clang-format on

// The pad picture: 213 x 163 pixels, shown at its own size, its transparent colour letting the
// dialog's background through.
inline constexpr TwipsRect kImage1 = {255, 420, 3195, 2445};
inline constexpr std::string_view kPadPicture = "pad.gif";

inline constexpr TwipsRect kLabel1 = {45, 2970, 3000, 510};
inline constexpr std::string_view kInstructions =
    "Click on a button and press the key on the keyboard that you want to assign to it.";
inline constexpr std::string_view kPromptPrefix =
    "Press the key on the KEYBOARD to be assigned to the joypad button ";

inline constexpr TwipsRect kBtnSave = {3180, 3015, 1125, 375};
inline constexpr std::string_view kSaveCaption = "&Save";
// An etched horizontal rule across the whole dialog: an empty frame without caption.
inline constexpr TwipsRect kFrame1 = {-45, 3435, 4380, 45};
inline constexpr TwipsRect kCmbName = {15, 3525, 4290, 315};
inline constexpr TwipsRect kBtnConfig = {15, 3855, 1635, 300};
inline constexpr std::string_view kConfigCaption = "Game Controllers...";
inline constexpr int kTimerInterval = 10;

}  // namespace padwire::joy_config

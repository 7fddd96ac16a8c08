// The force-feedback dialog: four option buttons that choose the rumble mode, stored at once.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "dialog/twips.h"
#include "platform/platform.h"

namespace padwire {

class PadEngine;

struct OptionButton {
  std::string caption;
  TwipsRect position;
  bool value = false;
};

class FormForceFeedback {
 public:
  static constexpr const char* kCaption = "Force Feedback";
  static constexpr int kClientWidth = 2370;
  static constexpr int kClientHeight = 2205;

  FormForceFeedback(Platform& platform, PadEngine& engine);

  // "Force Feedback...": loads and shows the dialog, or brings it forward when it is open.
  void show();
  void Form_Load();
  void optForceFeedback_Click(int Index);
  void btnOK_Click();

  bool loaded() const { return loaded_; }
  // The option that is selected, if any.
  std::optional<int> selected() const;

  std::array<OptionButton, 4> optForceFeedback{{
      {"Never", {135, 75, 2115, 330}},
      {"Always", {135, 425, 2115, 315}},
      {"Random", {135, 760, 2355, 315}},
      {"Stressed", {135, 1095, 2355, 315}},
  }};
  std::string Label1 = "This feature haven't been tested and probably will *NOT WORK*";
  TwipsRect Label1Position{15, 1425, 2310, 450};
  std::string btnOK = "&OK";
  TwipsRect btnOKPosition{1335, 1875, 1005, 315};

 private:
  Platform& platform_;
  PadEngine& engine_;
  bool loaded_ = false;
};

}  // namespace padwire

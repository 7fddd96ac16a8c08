// Scenario commands for the button assignment dialog: config open|close|click I|key VK|pick I|
// text "Name"|save|controllers|tick [N], and the query show config.
#include "platform/sim/session.h"

namespace padwire::sim {

namespace {

constexpr const char* kNotOpen = "ignored: the SideWinder Config window is not open";

// Prints why an input on the dialog goes nowhere; true when it does.
bool ignored(Session& s, const FormJoyConfig& dialog) {
  if (s.ignored_after_end()) return true;
  if (!dialog.loaded()) {
    s.print(kNotOpen);
    return true;
  }
  return false;
}

bool disabled(Session& s, bool enabled, const std::string& control) {
  if (enabled) return false;
  s.print("ignored: " + control + " is disabled");
  return true;
}

void open_from_menu(Session& s, const Command& c) {
  s.choose_menu_item(c, "mnuConfig");
}

void show_config(Session& s, const FormJoyConfig& d) {
  if (!d.loaded()) {
    s.print(kNotOpen);
    return;
  }
  for (std::size_t i = 0; i < d.btnJoy.size(); ++i) {
    const PadButtonControl& b = d.btnJoy[i];
    std::string line =
        "config " + std::to_string(i) + " tag=" + quote(b.Tag) + " tip=" + quote(b.ToolTipText);
    if (!b.Enabled) line += " disabled";
    if (b.BackColor == joy_config::kCaptureGreen) line += " green";
    s.print(line);
  }
  s.print("config label " + quote(d.Label1.Caption) +
          (d.Label1.ForeColor == joy_config::kPromptRed ? " red" : " normal"));
  std::string list = "config list";
  for (const std::string& entry : d.cmbName.entries) list += " " + quote(entry);
  list += " selected " + std::to_string(d.cmbName.ListIndex) + " text " + quote(d.cmbName.Text);
  s.print(list);
  s.print(std::string("config save ") + (d.btnSave.Enabled ? "enabled" : "disabled"));
}

}  // namespace

void add_config_commands(Session& session) {
  session.add_command("config", [](Session& s, const Command& c) {
    expect_words(c, 2, 3);
    const std::string& what = arg(c, 1);
    FormJoyConfig& d = s.joy_config(c);
    auto no_argument = [&] { expect_words(c, 2, 2); };
    if (what == "open") {
      no_argument();
      open_from_menu(s, c);
    } else if (what == "close") {
      no_argument();
      if (!ignored(s, d)) d.close();
    } else if (what == "click") {
      expect_words(c, 3, 3);
      const auto index = static_cast<int>(number_arg(c, 2, 0, kPadButtonCount - 1));
      if (ignored(s, d)) return;
      const std::string name = "btnJoy(" + std::to_string(index) + ")";
      if (disabled(s, d.btnJoy[static_cast<std::size_t>(index)].Enabled, name)) return;
      d.btnJoy_Click(index);
    } else if (what == "key") {
      expect_words(c, 3, 3);
      const auto code = static_cast<std::int16_t>(key_arg(c, 2, -32768, 32767));
      if (!ignored(s, d)) d.Form_KeyDown(code, 0);
    } else if (what == "pick") {
      expect_words(c, 3, 3);
      const long index = number_arg(c, 2, 0, 1000);
      if (ignored(s, d) || disabled(s, d.cmbName.Enabled, "cmbName")) return;
      if (index >= static_cast<long>(d.cmbName.entries.size())) {
        throw ScenarioError(c.line, "the list has no entry " + std::to_string(index));
      }
      d.choose_entry(static_cast<int>(index));
    } else if (what == "text") {
      expect_words(c, 3, 3);
      if (ignored(s, d) || disabled(s, d.cmbName.Enabled, "cmbName")) return;
      d.type_text(arg(c, 2));
    } else if (what == "save") {
      no_argument();
      if (ignored(s, d) || disabled(s, d.btnSave.Enabled, "btnSave")) return;
      d.btnSave_Click();
    } else if (what == "controllers") {
      no_argument();
      if (ignored(s, d) || disabled(s, d.btnConfig.Enabled, "btnConfig")) return;
      d.btnConfig_Click();
    } else if (what == "tick") {
      const long n = c.words.size() == 3 ? number_arg(c, 2, 1, 1000000) : 1;
      if (ignored(s, d)) return;
      for (long i = 0; i < n && d.loaded(); ++i) d.Timer1_Timer();
    } else {
      throw ScenarioError(c.line,
                          "config wants open, close, click I, key VK, pick I, text \"Name\", "
                          "save, controllers or tick [N]");
    }
  });
  session.add_query("config",
                    [](Session& s, const Command& c) { show_config(s, s.joy_config(c)); });
}

}  // namespace padwire::sim

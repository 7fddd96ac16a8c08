// Scenario commands for the force-feedback dialog: ff open, ff option I, ff ok, show ff.
#include "platform/sim/session.h"

namespace padwire::sim {

void add_force_feedback_commands(Session& session) {
  session.add_command("ff", [](Session& s, const Command& c) {
    expect_words(c, 2, 3);
    const std::string& what = arg(c, 1);
    FormForceFeedback& dialog = s.force_feedback(c);
    if (what == "open") {
      expect_words(c, 2, 2);
      s.choose_menu_item(c, "mnuRumble");
      return;
    }
    if (what == "option") {
      expect_words(c, 3, 3);
      const long index = number_arg(c, 2, 0, 3);
      if (s.ignored_after_end()) return;
      if (!dialog.loaded()) {
        s.print("ignored: the Force Feedback window is not open");
        return;
      }
      dialog.optForceFeedback_Click(static_cast<int>(index));
      return;
    }
    if (what == "ok") {
      expect_words(c, 2, 2);
      if (s.ignored_after_end()) return;
      if (!dialog.loaded()) {
        s.print("ignored: the Force Feedback window is not open");
        return;
      }
      dialog.btnOK_Click();
      return;
    }
    throw ScenarioError(c.line, "ff wants open, option I or ok");
  });
  session.add_query("ff", [](Session& s, const Command& c) {
    const auto selected = s.force_feedback(c).selected();
    s.print("ff selected " + (selected ? std::to_string(*selected) : std::string("none")));
  });
}

}  // namespace padwire::sim

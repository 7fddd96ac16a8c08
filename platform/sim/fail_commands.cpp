// Scenario commands that make calls of the program fail on purpose: `fail POINT` and, to undo
// it, `ok POINT`. POINT names the call as its trace line does (`store`, `screenshot`,
// `device acquire`, ...), with `read` and `write` for the two keyboard-state calls.
#include "platform/sim/session.h"

namespace padwire::sim {

namespace {

struct NamedPoint {
  const char* name;
  FailPoint point;
};

constexpr NamedPoint kPoints[] = {
    {"store", FailPoint::store},
    {"keystate read", FailPoint::keystate_read},
    {"keystate write", FailPoint::keystate_write},
    {"screenshot", FailPoint::screenshot},
    {"activate", FailPoint::activate},
    {"shellexecute", FailPoint::shellexecute},
    {"run", FailPoint::run},
    {"device create", FailPoint::device_create},
    {"device cooperative", FailPoint::device_cooperative},
    {"device format", FailPoint::device_format},
    {"device acquire", FailPoint::device_acquire},
    {"device objects", FailPoint::device_objects},
    {"device name", FailPoint::device_name},
    {"effect create", FailPoint::effect_create},
    {"effect start", FailPoint::effect_start},
    {"effect stop", FailPoint::effect_stop},
    {"login", FailPoint::login},
};

void set_failing(Session& s, const Command& c, bool failing) {
  expect_words(c, 2, 3);
  std::string name = arg(c, 1);
  if (c.words.size() == 3) name += " " + arg(c, 2);
  for (const NamedPoint& p : kPoints) {
    if (name == p.name) {
      s.world().failing[static_cast<std::size_t>(p.point)] = failing;
      return;
    }
  }
  throw ScenarioError(c.line, "no call to make fail: " + name);
}

}  // namespace

void add_fail_commands(Session& session) {
  session.add_command("fail", [](Session& s, const Command& c) { set_failing(s, c, true); });
  session.add_command("ok", [](Session& s, const Command& c) { set_failing(s, c, false); });
}

}  // namespace padwire::sim

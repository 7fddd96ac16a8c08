// One simulated run: the world, the simulated platform over it, and the program's forms.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "dialog/forms.h"
#include "platform/sim/scenario.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/world.h"

namespace padwire::sim {

class Session;
using CommandHandler = std::function<void(Session&, const Command&)>;

class Session {
 public:
  Session();
  ~Session();

  // Runs every command in order; throws ScenarioError for a command that cannot run.
  void run(const Scenario& scenario);
  void run_command(const Command& command);

  SimWorld& world() { return world_; }
  Platform& platform() { return sim_.platform(); }
  // The main form; throws when the program has not started.
  FormPadwire& form(const Command& command);
  bool started() const { return forms_ != nullptr; }
  FormForceFeedback& force_feedback(const Command& command);
  FormJoyConfig& joy_config(const Command& command);
  // True (and prints the reason) when the program has ended and the input goes nowhere.
  bool ignored_after_end();
  // A line of the runner (query answers, ignored inputs), kept whatever the file ignores.
  void print(std::string line) { world_.trace.note(std::move(line)); }
  // The user right-clicks the tray icon and chooses the named item from the popup menu.
  void choose_menu_item(const Command& command, const std::string& name);

  void add_command(const std::string& name, CommandHandler handler);
  void add_query(const std::string& name, CommandHandler handler);

 private:
  void start(bool at_login);
  void add_world_commands();
  void add_input_commands();
  void add_queries();

  SimWorld world_;
  SimPlatform sim_;
  std::unique_ptr<Forms> forms_;
  std::map<std::string, CommandHandler> commands_;
  std::map<std::string, CommandHandler> queries_;
};

void add_force_feedback_commands(Session& session);
void add_config_commands(Session& session);
void add_fail_commands(Session& session);
// `controller standard ...` and `pad standard ...` (standard_commands.cpp).
void install_standard_controller(Session& s, const Command& c);
void set_standard_pad(Session& s, const Command& c);

// Argument access with the runner's error messages.
const std::string& arg(const Command& c, std::size_t index);
long number_arg(const Command& c, std::size_t index, long min, long max);
void expect_words(const Command& c, std::size_t min, std::size_t max);
long parse_number(const Command& c, const std::string& text, long min, long max);
// A virtual-key code, as a number or by name ("Shift", "Tab", "F1", "Num 0", "PrintScreen",
// any case); a word that starts with a digit is a number, so digit keys go by code.
long key_arg(const Command& c, std::size_t index, long min, long max);

}  // namespace padwire::sim

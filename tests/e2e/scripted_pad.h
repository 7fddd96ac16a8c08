// The test's side of the scripted controller (fake_dinput8): the script file that the DLL in
// padwire.exe reads on every poll, and the log of the device calls it saw.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace padwire::e2e {

inline constexpr long kCentre = 32768;
inline constexpr unsigned long kHatCentred = 0xFFFFFFFF;

class ScriptedPad {
 public:
  // Script and log live in `folder`. The variables that lead the DLL to them are set in this
  // process's environment, which every padwire.exe started afterwards inherits.
  explicit ScriptedPad(const std::wstring& folder);
  ~ScriptedPad();
  ScriptedPad(const ScriptedPad&) = delete;
  ScriptedPad& operator=(const ScriptedPad&) = delete;

  // Lines that describe the device (create, device, name, buttons, effects, phantom), kept for
  // every later state.
  void describe(const std::string& lines);
  // The controller's state: buttons held (numbered from 0), the two axes and hat 0 (in
  // hundredths of a degree).
  void hold(std::initializer_list<int> buttons, long x = kCentre, long y = kCentre,
            unsigned long pov = kHatCentred);
  // An XInput pad's triggers, 0..255, kept for every later state.
  void pull_triggers(int left, int right);
  // The device fails its poll and state reads (input lost) or works again.
  void lose(bool lost);
  // The joystick is pulled out (its devices fail for good, it is not listed) or plugged back.
  void plug(bool plugged);

  // The device calls logged so far, one per line.
  std::string log() const;
  int count_in_log(const std::string& line) const;
  // The Scroll Lock toggle of the polling thread's keyboard state as last logged, or -1.
  int scroll_lock() const;

 private:
  void write();
  std::wstring script_;
  std::wstring log_;
  // Set after every write: the DLL then reads the script and tells the program of a change.
  HANDLE changed_ = nullptr;
  std::string device_;
  std::string state_;
  std::string triggers_;
  bool lost_ = false;
  bool unplugged_ = false;
};

}  // namespace padwire::e2e

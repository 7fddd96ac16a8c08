// The benchmark's hand on the scripted controller: it publishes pad states with their
// QueryPerformanceCounter time through the shared memory the scripted dinput8.dll reads, and
// tells the program of each change the way a driver would.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "shared_pad.h"

namespace padwire::bench {

// How a change reaches the program's event.
enum class Signal {
  direct,     // this process sets a duplicate of the program's own event
  forwarded,  // a thread of the DLL inside the program waits on a named event and sets it
};

class ScriptedController {
 public:
  // Makes the shared memory and names it (and the forwarding event) in this process's
  // environment, which the programs started afterwards inherit. With `xinput` the pad is an
  // Xbox pad, read through the scripted xinput1_4.dll, which its DirectInput view signals.
  explicit ScriptedController(Signal signal, bool xinput = false);
  ~ScriptedController();
  ScriptedController(const ScriptedController&) = delete;
  ScriptedController& operator=(const ScriptedController&) = delete;

  // Finds the event of the program that opened the device (none for the timer-only program).
  void connect();
  // Publishes buttons held and the axes, then signals; returns the publication time (QPC).
  LONGLONG publish(std::initializer_list<int> buttons, LONG x = 32768, LONG y = 32768);
  LONG polls() const { return pad_ ? pad_->polls : 0; }
  bool program_waits() const { return target_ != nullptr; }

 private:
  Signal signal_;
  HANDLE mapping_ = nullptr;
  e2e::SharedPad* pad_ = nullptr;
  HANDLE forward_ = nullptr;  // the named event the DLL's thread waits on
  HANDLE target_ = nullptr;   // what publish() sets: the duplicate, or `forward_`
};

LONGLONG now_qpc();
double qpc_to_ms(LONGLONG ticks);

}  // namespace padwire::bench

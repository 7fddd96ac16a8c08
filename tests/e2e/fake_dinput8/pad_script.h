// The scripted controller as both scripted DLLs read it (dinput8.dll, and xinput1_4.dll for a
// pad that also speaks XInput): the script file the test writes, or the shared memory of the
// benchmarks, and the log both append to. Each DLL keeps its own copy. Test code only.
//
// The script (path in PADWIRE_FAKE_PAD) is re-read whenever it changes. Its lines:
//   create ok|fail          DirectInput8Create succeeds or fails
//   device present|none     whether the joystick is enumerated
//   device unplugged        not enumerated, and every device made so far fails its acquire,
//                           poll and state read with DIERR_UNPLUGGED from now on, even after
//                           "device present" plugs it back (a new device works then)
//   phantom yes|no          a second joystick, set up once and never attached: listed first
//                           when all devices are asked for, never with attached ones only;
//                           its device fails as an unplugged one
//   name TEXT               product name
//   vendor HEX / product HEX  USB ids, in the product GUID as the system reports HID devices
//   xinput yes|no           an XInput pad: its device path names it so ("IG_"), and the
//                           scripted xinput1_4.dll reports it in slot 0, its controls in the
//                           order of its DirectInput view (buttons A, B, X, Y, LB, RB, back,
//                           start, left and right stick click; the hat is the D-pad)
//   buttons N               number of button objects
//   effects yes|no          whether it takes force feedback
//   polled yes|no           a device that must be polled (DIDC_POLLEDDEVICE): it signals no
//                           changes, and each Poll is logged ("poll")
//   lost 0|1                Poll and GetDeviceState fail with DIERR_INPUTLOST
//   x N / y N / pov N       axis and hat values
//   triggers L R            the XInput pad's triggers, 0..255; its DirectInput view has
//                           them on one axis, z, as the system gives such pads
//   held B,B,...            buttons held (128), all others free
#pragma once

#include <windows.h>
// dinput.h needs the declarations of windows.h before it.
#include <dinput.h>

#include <string>

#include "shared_pad.h"

namespace padwire::e2e {

struct Script {
  bool create_ok = true;
  bool present = true;
  bool unplugged = false;
  bool phantom = false;
  std::string name = "Scripted Pad";
  WORD vendor = 0;
  WORD product = 0;
  bool xinput = false;
  int buttons = 10;
  bool effects = false;
  bool polled = false;
  bool lost = false;
  BYTE triggers[2] = {};
  DIJOYSTATE2 state{};
};

std::string env(const char* name);
// Appends one line to the log file PADWIRE_FAKE_PAD_LOG, shared with the test, which reads it
// while the program runs.
void log(const char* text);

// The benchmarks' shared memory when PADWIRE_FAKE_PAD_SHARED names it, else null.
SharedPad* shared_pad();
// `script` with the shared memory's state and XInput flag.
void read_shared(SharedPad& shared, Script& script);
// Reads the script file into `script` if it was written since `stamp`; true when it was.
bool read_script_file(Script& script, FILETIME& stamp);

}  // namespace padwire::e2e

// The scripted controller's state in shared memory, for the benchmarks: a writer in another
// process publishes states with the moment it published them, and the DLL inside padwire.exe
// reads them on every state read, with no file in between. The DLL publishes the event that
// the program gave SetEventNotification, so that the writer can signal it itself.
#pragma once

#include <dinput.h>
#include <windows.h>

namespace padwire::e2e {

// The environment variable that names the file mapping (the DLL then ignores the script file).
inline constexpr const char* kSharedPadVariable = "PADWIRE_FAKE_PAD_SHARED";

struct SharedPad {
  // Odd while the writer changes `state`; the reader retries until it reads one even value
  // on both sides of its copy.
  volatile LONG sequence;
  // The process whose device was given `notify`, and that handle's value there (0: none).
  volatile DWORD reader_process;
  volatile ULONGLONG notify;
  // Poll calls so far: the program polls once on every tick that reads the pad.
  volatile LONG polls;
  // QueryPerformanceCounter when the writer published the current state.
  volatile LONGLONG published_at;
  // Non-zero: the pad also speaks XInput (the scripted xinput1_4.dll reports it in slot 0).
  volatile LONG xinput;
  DIJOYSTATE2 state;
};

}  // namespace padwire::e2e

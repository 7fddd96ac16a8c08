// A scripted game controller for end-to-end tests: a dinput8.dll that Wine loads instead of its
// own (WINEDLLOVERRIDES="dinput8=n,b") and that reports one joystick whose state comes from a
// script file the test writes. Test code only; the product never ships it.
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
//   buttons N               number of button objects
//   effects yes|no          whether it takes force feedback
//   polled yes|no           a device that must be polled (DIDC_POLLEDDEVICE): it signals no
//                           changes, and each Poll is logged ("poll")
//   lost 0|1                Poll and GetDeviceState fail with DIERR_INPUTLOST
//   x N / y N / pov N       axis and hat values
//   held B,B,...            buttons held (128), all others free
// Every device call worth checking is appended to the log file PADWIRE_FAKE_PAD_LOG, and so is
// each change of the polling thread's Scroll Lock toggle ("scroll lock 0|1").
//
// A program that sleeps until its device signals a change (SetEventNotification) reads no
// script: when PADWIRE_FAKE_PAD_EVENT names an event, a thread of the DLL waits on it, re-reads
// the script each time the test sets it, and signals the program's event if the state changed.
// With PADWIRE_FAKE_PAD_SHARED naming a file mapping (shared_pad.h) the state comes from there
// instead of the script, for the benchmarks.
#define INITGUID
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
// dinput.h needs the declarations of windows.h before it.
#include <dinput.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shared_pad.h"

namespace {

using padwire::e2e::SharedPad;

struct Script {
  bool create_ok = true;
  bool present = true;
  bool unplugged = false;
  bool phantom = false;
  std::string name = "Scripted Pad";
  int buttons = 10;
  bool effects = false;
  bool polled = false;
  bool lost = false;
  DIJOYSTATE2 state{};
};

Script g_script;
// How often the joystick was unplugged; a device works only while this is what it was made at.
int g_unplugs = 0;
FILETIME g_stamp{};
HANDLE g_notify = nullptr;
SharedPad* g_shared = nullptr;

// The script is read by the program's thread and by the thread that forwards changes.
// Initialised where it lives: a critical section must not be copied.
CRITICAL_SECTION& script_lock() {
  static CRITICAL_SECTION section;
  static const bool initialised = (InitializeCriticalSection(&section), true);
  (void)initialised;
  return section;
}

struct Lock {
  Lock() { EnterCriticalSection(&script_lock()); }
  ~Lock() { LeaveCriticalSection(&script_lock()); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

std::string env(const char* name) {
  char buffer[1024];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Appends one line; the file is shared with the test, which reads it while the program runs.
void log(const char* text) {
  const std::string path = env("PADWIRE_FAKE_PAD_LOG");
  if (path.empty()) return;
  const std::string line = std::string(text) + "\n";
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(2);
  }
}

// The mapping is made by whichever side comes first; a fresh one holds a pad at rest.
SharedPad* open_shared(const std::string& name) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(SharedPad), name.c_str());
  if (!mapping) return nullptr;
  const bool fresh = GetLastError() != ERROR_ALREADY_EXISTS;
  auto* pad =
      static_cast<SharedPad*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedPad)));
  if (pad && fresh) {
    pad->state.lX = pad->state.lY = 32768;
    for (DWORD& pov : pad->state.rgdwPOV) pov = 0xFFFFFFFFu;
  }
  return pad;  // the mapping stays open for the life of the process
}

void read_shared() {
  for (;;) {
    const LONG before = g_shared->sequence;
    MemoryBarrier();
    std::memcpy(&g_script.state, const_cast<DIJOYSTATE2*>(&g_shared->state), sizeof g_script.state);
    MemoryBarrier();
    if ((before & 1) == 0 && g_shared->sequence == before) return;
    YieldProcessor();
  }
}

void reload() {
  Lock lock;
  static const std::string shared_name = env(padwire::e2e::kSharedPadVariable);
  if (!shared_name.empty()) {
    if (!g_shared) g_shared = open_shared(shared_name);
    if (g_shared) read_shared();
    return;
  }
  const std::string path = env("PADWIRE_FAKE_PAD");
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return;
  if (CompareFileTime(&data.ftLastWriteTime, &g_stamp) == 0 && g_stamp.dwLowDateTime != 0) return;
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return;
  Script s;
  s.state.lX = s.state.lY = 32768;
  for (DWORD& pov : s.state.rgdwPOV) pov = 0xFFFFFFFFu;
  char line[512];
  while (std::fgets(line, sizeof line, f)) {
    char word[32] = {};
    char rest[480] = {};
    if (std::sscanf(line, "%31s %479[^\r\n]", word, rest) < 1) continue;
    const std::string w = word, r = rest;
    if (w == "create")
      s.create_ok = r == "ok";
    else if (w == "device") {
      s.present = r == "present";
      s.unplugged = r == "unplugged";
    } else if (w == "phantom")
      s.phantom = r == "yes";
    else if (w == "name")
      s.name = r;
    else if (w == "buttons")
      s.buttons = std::atoi(rest);
    else if (w == "effects")
      s.effects = r == "yes";
    else if (w == "polled")
      s.polled = r == "yes";
    else if (w == "lost")
      s.lost = r == "1";
    else if (w == "x")
      s.state.lX = std::atol(rest);
    else if (w == "y")
      s.state.lY = std::atol(rest);
    else if (w == "pov")
      s.state.rgdwPOV[0] = static_cast<DWORD>(std::strtoul(rest, nullptr, 10));
    else if (w == "held") {
      for (char* p = std::strtok(rest, ","); p; p = std::strtok(nullptr, ",")) {
        const int b = std::atoi(p);
        if (b >= 0 && b < 128) s.state.rgbButtons[b] = 128;
      }
    }
  }
  std::fclose(f);
  const bool changed = std::memcmp(&s.state, &g_script.state, sizeof s.state) != 0 ||
                       s.lost != g_script.lost || s.unplugged != g_script.unplugged;
  if (s.unplugged && !g_script.unplugged) ++g_unplugs;
  g_script = s;
  g_stamp = data.ftLastWriteTime;
  if (changed && g_notify) SetEvent(g_notify);
}

// Waits for the test's word that the controller changed and passes it on to the program.
DWORD WINAPI forward_changes(LPVOID event) {
  while (WaitForSingleObject(static_cast<HANDLE>(event), INFINITE) == WAIT_OBJECT_0) {
    Lock lock;
    if (g_shared) {
      SetEvent(g_notify);
    } else {
      reload();  // signals when the state changed
    }
  }
  return 0;
}

void start_forwarding() {
  static bool started = false;
  const std::string name = env("PADWIRE_FAKE_PAD_EVENT");
  if (started || name.empty()) return;
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
  if (!event) return;
  started = true;
  HANDLE thread = CreateThread(nullptr, 0, forward_changes, event, 0, nullptr);
  if (thread) CloseHandle(thread);
}

// The program polls on its own user-interface thread, so the Scroll Lock toggle of that
// thread's keyboard state (which only that thread sees) is logged from here when it changes.
void log_scroll_lock() {
  // Without a log (the benchmarks) the read is left out: a real driver's poll costs no call to
  // the Wine server, and the benchmarks time Padwire, not this stand-in.
  static const bool logging = !env("PADWIRE_FAKE_PAD_LOG").empty();
  if (!logging) return;
  static int logged = -1;
  const int toggled = GetKeyState(VK_SCROLL) & 1;
  if (toggled == logged) return;
  logged = toggled;
  log(toggled ? "scroll lock 1" : "scroll lock 0");
}
// {6F1D2B60-D5A0-11CF-BFC7-444553545001}: the instance GUID of the one scripted joystick.
const GUID kInstance = {
    0x6f1d2b60, 0xd5a0, 0x11cf, {0xbf, 0xc7, 0x44, 0x45, 0x53, 0x54, 0x50, 0x01}};
// {6F1D2B60-D5A0-11CF-BFC7-444553545002}: the phantom's.
const GUID kPhantom = {
    0x6f1d2b60, 0xd5a0, 0x11cf, {0xbf, 0xc7, 0x44, 0x45, 0x53, 0x54, 0x50, 0x02}};

bool attached() {
  return g_script.present && !g_script.unplugged;
}

template <class Interface>
class Unknown : public Interface {
 public:
  virtual ~Unknown() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG refs_ = 1;
};

class Effect final : public Unknown<IDirectInputEffect> {
 public:
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD, REFGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetEffectGuid(LPGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetParameters(LPDIEFFECT, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetParameters(LPCDIEFFECT, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Start(DWORD iterations, DWORD flags) override {
    char text[64];
    std::snprintf(text, sizeof text, "effect start %ld %lu", static_cast<long>(iterations),
                  static_cast<unsigned long>(flags));
    log(text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override {
    log("effect stop");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEffectStatus(LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Download() override {
    log("effect download");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unload() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Escape(LPDIEFFESCAPE) override { return E_NOTIMPL; }
};

class Device final : public Unknown<IDirectInputDevice8W> {
 public:
  explicit Device(bool phantom) : phantom_(phantom), made_at_(g_unplugs) {}

  HRESULT STDMETHODCALLTYPE GetCapabilities(LPDIDEVCAPS caps) override {
    reload();
    Lock lock;
    if (!caps) return E_POINTER;
    caps->dwFlags = DIDC_ATTACHED | (g_script.effects ? DIDC_FORCEFEEDBACK : 0) |
                    (g_script.polled ? DIDC_POLLEDDEVICE : 0);
    caps->dwDevType = DI8DEVTYPE_GAMEPAD;
    caps->dwAxes = 2;
    caps->dwButtons = static_cast<DWORD>(g_script.buttons);
    caps->dwPOVs = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID ref,
                                        DWORD flags) override {
    reload();
    Lock lock;
    if (!(flags & DIDFT_BUTTON) && flags != DIDFT_ALL) return DI_OK;
    for (int i = 0; i < g_script.buttons; ++i) {
      DIDEVICEOBJECTINSTANCEW object{};
      object.dwSize = sizeof object;
      object.guidType = GUID_Button;
      object.dwOfs = DIJOFS_BUTTON(i);
      object.dwType = DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(i);
      std::swprintf(object.tszName, MAX_PATH, L"Button %d", i);
      if (callback(&object, ref) == DIENUM_STOP) break;
    }
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetProperty(REFGUID, LPDIPROPHEADER) override {
    return DIERR_UNSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE SetProperty(REFGUID, LPCDIPROPHEADER) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE Acquire() override {
    log("acquire");
    reload();
    Lock lock;
    if (unplugged()) return DIERR_UNPLUGGED;
    return g_script.lost ? DIERR_INPUTLOST : DI_OK;
  }
  HRESULT STDMETHODCALLTYPE Unacquire() override {
    log("unacquire");
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override {
    reload();
    Lock lock;
    if (unplugged()) return DIERR_UNPLUGGED;
    if (g_script.lost) return DIERR_INPUTLOST;
    if (size != sizeof(DIJOYSTATE2) || !data) return DIERR_INVALIDPARAM;
    std::memcpy(data, &g_script.state, sizeof(DIJOYSTATE2));
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
    return DIERR_NOTBUFFERED;
  }
  HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override {
    return format && format->dwDataSize == sizeof(DIJOYSTATE2) ? DI_OK : DIERR_INVALIDPARAM;
  }
  HRESULT STDMETHODCALLTYPE SetEventNotification(HANDLE event) override {
    reload();
    Lock lock;
    g_notify = event;
    log(event ? "event notification" : "event notification off");
    if (g_shared) {
      g_shared->notify = reinterpret_cast<ULONGLONG>(event);
      g_shared->reader_process = GetCurrentProcessId();
    }
    // A polled device takes the event but sets it only when polled, which this one never does.
    if (g_script.polled) return DI_POLLEDDEVICE;
    if (event) start_forwarding();
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD flags) override {
    char text[48];
    std::snprintf(text, sizeof text, "cooperative %lu", static_cast<unsigned long>(flags));
    log(text);
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetObjectInfo(LPDIDEVICEOBJECTINSTANCEW, DWORD, DWORD) override {
    return DIERR_OBJECTNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceInfo(LPDIDEVICEINSTANCEW info) override {
    reload();
    Lock lock;
    if (!info) return E_POINTER;
    info->guidInstance = kInstance;
    info->guidProduct = kInstance;
    info->dwDevType = DI8DEVTYPE_GAMEPAD;
    MultiByteToWideChar(CP_UTF8, 0, g_script.name.c_str(), -1, info->tszProductName, MAX_PATH);
    MultiByteToWideChar(CP_UTF8, 0, g_script.name.c_str(), -1, info->tszInstanceName, MAX_PATH);
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE RunControlPanel(HWND, DWORD) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD, REFGUID) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE CreateEffect(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT* out,
                                         LPUNKNOWN) override {
    reload();
    Lock lock;
    if (!g_script.effects) return DIERR_UNSUPPORTED;
    log("effect create");
    *out = new Effect();
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumEffects(LPDIENUMEFFECTSCALLBACKW, LPVOID, DWORD) override {
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEffectInfo(LPDIEFFECTINFOW, REFGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetForceFeedbackState(LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SendForceFeedbackCommand(DWORD) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID,
                                                     DWORD) override {
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE Escape(LPDIEFFESCAPE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Poll() override {
    reload();
    Lock lock;
    if (g_shared) InterlockedIncrement(&g_shared->polls);
    if (g_script.polled) log("poll");
    log_scroll_lock();
    if (unplugged()) return DIERR_UNPLUGGED;
    return g_script.lost ? DIERR_INPUTLOST : DI_NOEFFECT;
  }
  HRESULT STDMETHODCALLTYPE SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumEffectsInFile(LPCWSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID,
                                              DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE WriteEffectToFile(LPCWSTR, DWORD, LPDIFILEEFFECT, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BuildActionMap(LPDIACTIONFORMATW, LPCWSTR, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetActionMap(LPDIACTIONFORMATW, LPCWSTR, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetImageInfo(LPDIDEVICEIMAGEINFOHEADERW) override { return E_NOTIMPL; }

 private:
  bool unplugged() const { return phantom_ || g_script.unplugged || made_at_ != g_unplugs; }

  bool phantom_;
  int made_at_;
};

BOOL list_device(const GUID& guid, LPDIENUMDEVICESCALLBACKW callback, LPVOID ref) {
  DIDEVICEINSTANCEW info{};
  info.dwSize = sizeof info;
  info.guidInstance = guid;
  info.guidProduct = guid;
  info.dwDevType = DI8DEVTYPE_GAMEPAD;
  MultiByteToWideChar(CP_UTF8, 0, g_script.name.c_str(), -1, info.tszProductName, MAX_PATH);
  MultiByteToWideChar(CP_UTF8, 0, g_script.name.c_str(), -1, info.tszInstanceName, MAX_PATH);
  return callback(&info, ref);
}

class Input final : public Unknown<IDirectInput8W> {
 public:
  HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8W* out,
                                         LPUNKNOWN) override {
    reload();
    Lock lock;
    if (g_script.phantom && IsEqualGUID(guid, kPhantom)) {
      log("create phantom");
      *out = new Device(true);
      return DI_OK;
    }
    if (!attached() || !IsEqualGUID(guid, kInstance)) return DIERR_DEVICENOTREG;
    log("create device");
    *out = new Device(false);
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKW callback, LPVOID ref,
                                        DWORD flags) override {
    reload();
    Lock lock;
    const DWORD device_class = type & 0xFF;
    const bool wanted = device_class == DI8DEVCLASS_ALL || device_class == DI8DEVCLASS_GAMECTRL ||
                        device_class == DI8DEVTYPE_GAMEPAD || device_class == DI8DEVTYPE_JOYSTICK;
    if (!wanted) return DI_OK;
    if (g_script.phantom && !(flags & DIEDFL_ATTACHEDONLY) &&
        list_device(kPhantom, callback, ref) == DIENUM_STOP) {
      return DI_OK;
    }
    if (attached()) list_device(kInstance, callback, ref);
    return DI_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID guid) override {
    reload();
    return IsEqualGUID(guid, kInstance) && attached() ? DI_OK : DI_NOTATTACHED;
  }
  HRESULT STDMETHODCALLTYPE RunControlPanel(HWND, DWORD) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD) override { return DI_OK; }
  HRESULT STDMETHODCALLTYPE FindDevice(REFGUID, LPCWSTR, LPGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDevicesBySemantics(LPCWSTR, LPDIACTIONFORMATW,
                                                   LPDIENUMDEVICESBYSEMANTICSCBW, LPVOID,
                                                   DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK,
                                             LPDICONFIGUREDEVICESPARAMSW, DWORD, LPVOID) override {
    return E_NOTIMPL;
  }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectInput8Create(HINSTANCE, DWORD, REFIID, LPVOID* out, LPUNKNOWN) {
  reload();
  Lock lock;
  log(g_script.create_ok ? "create input" : "create input refused");
  if (!out) return E_POINTER;
  if (!g_script.create_ok) {
    *out = nullptr;
    return DIERR_OLDDIRECTINPUTVERSION;
  }
  *out = new Input();
  return DI_OK;
}

// A scripted game controller for end-to-end tests: a dinput8.dll that Wine loads instead of its
// own (WINEDLLOVERRIDES="dinput8=n,b") and that reports one joystick whose state comes from a
// script file the test writes (pad_script.h tells its lines). Test code only; the product
// never ships it.
//
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

#include "pad_script.h"

namespace {

using padwire::e2e::env;
using padwire::e2e::log;
using padwire::e2e::Script;
using padwire::e2e::SharedPad;

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

void reload() {
  Lock lock;
  g_shared = padwire::e2e::shared_pad();
  if (g_shared) {
    padwire::e2e::read_shared(*g_shared, g_script);
    return;
  }
  Script s;
  if (!padwire::e2e::read_script_file(s, g_stamp)) return;
  const bool changed = std::memcmp(&s.state, &g_script.state, sizeof s.state) != 0 ||
                       s.lost != g_script.lost || s.unplugged != g_script.unplugged;
  if (s.unplugged && !g_script.unplugged) ++g_unplugs;
  g_script = s;
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

// The system's product GUID of a HID device holds its USB ids; a pad without ids gets the
// instance GUID.
GUID product_guid(const GUID& instance) {
  if (g_script.vendor == 0) return instance;
  return {MAKELONG(g_script.vendor, g_script.product), 0, 0, {0, 0, 'P', 'I', 'D', 'V', 'I', 'D'}};
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
  // The device path, which names the XInput pads' views with "IG_".
  HRESULT STDMETHODCALLTYPE GetProperty(REFGUID property, LPDIPROPHEADER header) override {
    reload();
    Lock lock;
    if (&property != &DIPROP_GUIDANDPATH) return DIERR_UNSUPPORTED;
    if (!header || header->dwSize != sizeof(DIPROPGUIDANDPATH)) return DIERR_INVALIDPARAM;
    auto* path = reinterpret_cast<DIPROPGUIDANDPATH*>(header);
    std::swprintf(path->wszPath, MAX_PATH, L"\\\\?\\hid#vid_%04x&pid_%04x%ls#7&1&0000#{4d1e55b2}",
                  g_script.vendor, g_script.product, g_script.xinput ? L"&ig_00" : L"");
    return DI_OK;
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
    info->guidProduct = product_guid(kInstance);
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
  info.guidProduct = IsEqualGUID(guid, kInstance) ? product_guid(guid) : guid;
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

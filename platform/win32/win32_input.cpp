#include "platform/win32/win32_input.h"

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

static_assert(sizeof(JoyState2) == sizeof(DIJOYSTATE2), "the core's record is DIJOYSTATE2");
static_assert(offsetof(JoyState2, rgdwPOV) == offsetof(DIJOYSTATE2, rgdwPOV));
static_assert(offsetof(JoyState2, rgbButtons) == offsetof(DIJOYSTATE2, rgbButtons));
static_assert(offsetof(JoyState2, lFRz) == offsetof(DIJOYSTATE2, lFRz));

namespace {

// Every object made from the library keeps it loaded: the forms may hold them longer than
// the service that made the first one.
using SharedLibrary = std::shared_ptr<const Library>;

// GUIDs as the core carries them: "{6F1D2B60-D5A0-11CF-BFC7-444553540000}".
std::string guid_to_text(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

// Accepts exactly the form guid_to_text writes, in either case.
std::optional<GUID> guid_from_text(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  unsigned long data1 = 0;
  unsigned int data2 = 0, data3 = 0, b[8] = {};
  if (upper.size() != 38 ||
      std::sscanf(upper.c_str(), "{%8lX-%4X-%4X-%2X%2X-%2X%2X%2X%2X%2X%2X}", &data1, &data2, &data3,
                  &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]) != 11) {
    return std::nullopt;
  }
  GUID guid{};
  guid.Data1 = static_cast<DWORD>(data1);
  guid.Data2 = static_cast<WORD>(data2);
  guid.Data3 = static_cast<WORD>(data3);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<BYTE>(b[i]);
  if (guid_to_text(guid) != upper) return std::nullopt;  // signs, blanks, short fields
  return guid;
}

// The rumble: a constant force at half the device's strength, with no end of its own, that
// stops any other effect on the device when it starts.
class DirectInputEffect final : public Rumble {
 public:
  DirectInputEffect(SharedLibrary library, IDirectInputEffect* effect)
      : library_(std::move(library)), effect_(effect) {}
  bool start() override { return SUCCEEDED(effect_->Start(INFINITE, DIES_SOLO)); }
  bool stop() override { return SUCCEEDED(effect_->Stop()); }

 private:
  SharedLibrary library_;
  ComPtr<IDirectInputEffect> effect_;
};

// The published DIEFFECT members the rumble sets.
struct EffectInfo {
  std::uint32_t flags = 0;
  std::int32_t duration = 0;
  std::int32_t sample_period = 0;
  std::int32_t gain = 0;  // 0..10000
  std::int32_t trigger_button = 0;
  std::int32_t trigger_repeat_interval = 0;
  std::int32_t start_delay = 0;
  std::int32_t constant_magnitude = 0;  // the constant force's magnitude, 0..10000
};

EffectInfo rumble_effect_info() {
  EffectInfo info;
  info.flags = DIEFF_CARTESIAN;
  info.duration = -1;  // INFINITE
  info.sample_period = 0;
  info.gain = 5000;                   // half strength
  info.trigger_button = -1;           // DIEB_NOTRIGGER
  info.trigger_repeat_interval = -1;  // INFINITE
  info.start_delay = 0;
  info.constant_magnitude = 10000;
  return info;
}

BOOL CALLBACK count_object(LPCDIDEVICEOBJECTINSTANCEW, LPVOID counter) {
  ++*static_cast<int*>(counter);
  return DIENUM_CONTINUE;
}

BOOL CALLBACK collect_axis(LPCDIDEVICEOBJECTINSTANCEW object, LPVOID axes) {
  auto& list = *static_cast<std::vector<DWORD>*>(axes);
  list.push_back(object->dwOfs);
  return list.size() < 2 ? DIENUM_CONTINUE : DIENUM_STOP;
}

class DirectInputDevice final : public Controller {
 public:
  // `input` made the device from `instance`; the device keeps it to ask for the status.
  DirectInputDevice(SharedLibrary library, IDirectInput8W* input, const GUID& instance,
                    IDirectInputDevice8W* device)
      : library_(std::move(library)), input_(input), instance_(instance), device_(device) {
    input->AddRef();
  }

  // Cooperative level (background, exclusive or not), the joystick-2 data format, acquire:
  // a step that fails is skipped.
  void take(WindowHandle window, ControllerAccess access) {
    const DWORD exclusive =
        access == ControllerAccess::exclusive ? DISCL_EXCLUSIVE : DISCL_NONEXCLUSIVE;
    device_->SetCooperativeLevel(reinterpret_cast<HWND>(window), exclusive | DISCL_BACKGROUND);
    device_->SetDataFormat(&c_dfDIJoystick2);
    acquire();
  }

  ControllerKind kind() const override { return ControllerKind::by_number; }
  bool acquire() override { return succeeded(device_->Acquire()); }
  bool release() override { return SUCCEEDED(device_->Unacquire()); }
  // Devices that need no polling answer DI_NOEFFECT, which is a success.
  bool poll() override { return succeeded(device_->Poll()); }
  bool read(ControllerReading& reading) override {
    DIJOYSTATE2 raw{};
    if (!succeeded(device_->GetDeviceState(sizeof raw, &raw))) return false;
    std::memcpy(static_cast<void*>(&reading.record), &raw, sizeof raw);
    return true;
  }
  bool unplugged() override { return unplugged_; }
  std::optional<int> button_count() override {
    int count = 0;
    if (FAILED(device_->EnumObjects(count_object, &count, DIDFT_BUTTON))) return std::nullopt;
    return count;
  }
  std::optional<std::string> product_name() override {
    DIDEVICEINSTANCEW info{};
    info.dwSize = sizeof info;
    if (FAILED(device_->GetDeviceInfo(&info))) return std::nullopt;
    info.tszProductName[MAX_PATH - 1] = L'\0';
    return to_utf8(info.tszProductName);
  }

  // A constant force on the device's force-feedback axes (at most two, pushed the same way),
  // full magnitude at half gain, without end. The effect is downloaded here; a download
  // refused because the device is not acquired yet is repeated by Start.
  std::unique_ptr<Rumble> create_rumble() override {
    const EffectInfo info = rumble_effect_info();
    std::vector<DWORD> axes;
    device_->EnumObjects(collect_axis, &axes, DIDFT_AXIS | DIDFT_FFACTUATOR);
    // A device that names no actuators gets X and Y, and CreateEffect decides.
    if (axes.empty()) axes = {DIJOFS_X, DIJOFS_Y};
    LONG directions[2] = {1, 1};
    DICONSTANTFORCE force{info.constant_magnitude};
    DIEFFECT effect{};
    effect.dwSize = sizeof effect;
    effect.dwFlags = info.flags | DIEFF_OBJECTOFFSETS;
    effect.dwDuration = static_cast<DWORD>(info.duration);
    effect.dwSamplePeriod = static_cast<DWORD>(info.sample_period);
    effect.dwGain = static_cast<DWORD>(info.gain);
    effect.dwTriggerButton = static_cast<DWORD>(info.trigger_button);
    effect.dwTriggerRepeatInterval = static_cast<DWORD>(info.trigger_repeat_interval);
    effect.cAxes = static_cast<DWORD>(axes.size());
    effect.rgdwAxes = axes.data();
    effect.rglDirection = directions;
    effect.cbTypeSpecificParams = sizeof force;
    effect.lpvTypeSpecificParams = &force;
    effect.dwStartDelay = static_cast<DWORD>(info.start_delay);
    IDirectInputEffect* created = nullptr;
    if (FAILED(device_->CreateEffect(GUID_ConstantForce, &effect, &created, nullptr)) || !created) {
      return nullptr;
    }
    created->Download();
    return std::make_unique<DirectInputEffect>(library_, created);
  }

 private:
  // The result of an acquire, poll or state read; an unplugged device is remembered, since
  // its object never works again (a new one has to be created when the device returns). A
  // driver may report the removal as lost input instead; the system's status of the instance
  // (not attached) tells it apart from a device another program took for a moment.
  bool succeeded(HRESULT result) {
    if (SUCCEEDED(result)) return true;
    if (result == static_cast<HRESULT>(DIERR_UNPLUGGED) ||
        input_->GetDeviceStatus(instance_) == DI_NOTATTACHED) {
      unplugged_ = true;
    }
    return false;
  }

  SharedLibrary library_;
  ComPtr<IDirectInput8W> input_;
  GUID instance_;
  ComPtr<IDirectInputDevice8W> device_;
  bool unplugged_ = false;
};

// Asked before the device is first acquired, as DirectInput requires.
bool notify_changes(IDirectInputDevice8W* device, HANDLE event) {
  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  if (FAILED(device->GetCapabilities(&caps)) || (caps.dwFlags & DIDC_POLLEDDEVICE)) return false;
  // DI_POLLEDDEVICE, a success code, also means that nothing is signalled until a poll.
  return device->SetEventNotification(event) == DI_OK;
}

BOOL CALLBACK collect_device(LPCDIDEVICEINSTANCEW instance, LPVOID found) {
  ControllerIdentity identity;
  identity.id = guid_to_text(instance->guidInstance);
  identity.name = to_utf8(
      std::wstring_view(instance->tszProductName, wcsnlen(instance->tszProductName, MAX_PATH)));
  static_cast<std::vector<ControllerIdentity>*>(found)->push_back(std::move(identity));
  return DIENUM_CONTINUE;
}

class DirectInputRoot final : public ControllerList {
 public:
  DirectInputRoot(SharedLibrary library, IDirectInput8W* input,
                  Win32DirectInput::ChangeSignal& change)
      : library_(std::move(library)), input_(input), change_(change) {}

  // The joystick type of the classic interface is the game-controller class of version 8,
  // which holds joysticks, gamepads and wheels alike. All devices come attached ones first:
  // the system may also list a controller that was set up once and is not plugged in, and the
  // first in the list is the one the program opens, at start-up and when a pad is plugged in.
  // Every controller is read by number here.
  std::vector<ControllerIdentity> list(bool) override {
    std::vector<ControllerIdentity> found;
    if (FAILED(input_->EnumDevices(DI8DEVCLASS_GAMECTRL, collect_device, &found,
                                   DIEDFL_ATTACHEDONLY))) {
      return {};
    }
    std::vector<ControllerIdentity> all;
    if (FAILED(
            input_->EnumDevices(DI8DEVCLASS_GAMECTRL, collect_device, &all, DIEDFL_ALLDEVICES))) {
      return {};
    }
    for (ControllerIdentity& identity : all) {
      const auto same = [&](const ControllerIdentity& c) { return c.id == identity.id; };
      if (std::none_of(found.begin(), found.end(), same)) found.push_back(std::move(identity));
    }
    return found;
  }
  std::unique_ptr<Controller> open(const ControllerIdentity& controller, WindowHandle window,
                                   ControllerAccess access) override {
    const auto guid = guid_from_text(controller.id);
    if (!guid) return nullptr;
    IDirectInputDevice8W* device = nullptr;
    if (FAILED(input_->CreateDevice(*guid, &device, nullptr)) || !device) return nullptr;
    if (change_.event) change_.device_signals = notify_changes(device, change_.event);
    auto opened = std::make_unique<DirectInputDevice>(library_, input_.get(), *guid, device);
    opened->take(window, access);
    return opened;
  }

 private:
  SharedLibrary library_;
  ComPtr<IDirectInput8W> input_;
  Win32DirectInput::ChangeSignal& change_;
};

using CreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

}  // namespace

Win32DirectInput::Win32DirectInput(std::wstring library) : library_name_(std::move(library)) {}

Win32DirectInput::~Win32DirectInput() {
  if (change_.event) CloseHandle(change_.event);
}

std::unique_ptr<ControllerList> Win32DirectInput::connect() {
  if (!library_) {
    HMODULE module = LoadLibraryExW(library_name_.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    library_ = std::make_shared<const Library>(module);
  }
  const auto create = library_function<CreateFunction>(library_->get(), "DirectInput8Create");
  if (!create) return nullptr;
  void* input = nullptr;
  if (FAILED(create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, &input,
                    nullptr)) ||
      !input) {
    return nullptr;
  }
  return std::make_unique<DirectInputRoot>(library_, static_cast<IDirectInput8W*>(input), change_);
}

void Win32DirectInput::signal_changes() {
  if (!change_.event) change_.event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

}  // namespace padwire::win32

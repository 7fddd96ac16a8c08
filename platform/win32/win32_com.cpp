#include "platform/win32/win32_com.h"

#include <objbase.h>

#include "platform/win32/win32_handles.h"

namespace padwire::win32::com {

namespace {

// ole32.dll from the system folder, loaded once and kept for the rest of the process.
struct Ole32 {
  HMODULE library = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  decltype(&CoInitializeEx) initialize =
      library_function<decltype(&CoInitializeEx)>(library, "CoInitializeEx");
  decltype(&CoUninitialize) uninitialize =
      library_function<decltype(&CoUninitialize)>(library, "CoUninitialize");
  decltype(&CoCreateInstance) create =
      library_function<decltype(&CoCreateInstance)>(library, "CoCreateInstance");
};

const Ole32& ole32() {
  static const Ole32 loaded;
  return loaded;
}

// One thread's membership of an apartment, left when the thread ends.
class Apartment {
 public:
  Apartment()
      : result_(ole32().initialize && ole32().uninitialize
                    ? ole32().initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
                    : E_FAIL) {}
  ~Apartment() {
    if (SUCCEEDED(result_)) ole32().uninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  // A thread already in the multithreaded apartment serves as well.
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace

bool enter() {
  thread_local const Apartment apartment;
  return apartment.usable();
}

HRESULT create_instance(REFCLSID server, REFIID interface_id, void** object) {
  if (!ole32().create) return E_NOTIMPL;
  return ole32().create(server, nullptr, CLSCTX_INPROC_SERVER, interface_id, object);
}

}  // namespace padwire::win32::com

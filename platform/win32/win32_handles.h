// Owning wrappers for the handles the Windows back end creates: each frees its handle when it
// goes or takes another, so no path (an early return, a window made anew) leaks one.
#pragma once

#include <windows.h>

#include <utility>

namespace padwire::win32 {

// One handle and the call that frees it. Moves pass the handle on; copies do not exist.
template <class Handle, class Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) {
    if (handle_) Free{}(handle_);
    handle_ = handle;
  }
  Handle release() { return std::exchange(handle_, nullptr); }
  // For calls that hand back a new handle through a pointer; the old one is freed first.
  Handle* out() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct FreeLocalMemory {
  void operator()(void* memory) const { LocalFree(memory); }
};
struct CloseRegistryKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct FreeLibraryHandle {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct UnregisterDeviceNotificationHandle {
  void operator()(HDEVNOTIFY notification) const { UnregisterDeviceNotification(notification); }
};

using Font = Owned<HFONT, DeleteGdiObject>;
using Pen = Owned<HPEN, DeleteGdiObject>;
using Brush = Owned<HBRUSH, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using MemoryDc = Owned<HDC, DeleteMemoryDc>;   // from CreateCompatibleDC
using Icon = Owned<HICON, DestroyIconHandle>;  // created or loaded unshared (not LR_SHARED)
using Menu = Owned<HMENU, DestroyMenuHandle>;
using RegistryKey = Owned<HKEY, CloseRegistryKey>;
using ArgumentList = Owned<LPWSTR*, FreeLocalMemory>;  // from CommandLineToArgvW
using Library = Owned<HMODULE, FreeLibraryHandle>;
using DeviceNotification = Owned<HDEVNOTIFY, UnregisterDeviceNotificationHandle>;

// A function of a library loaded at run time, as its type; null when either is missing.
template <class Function>
Function library_function(HMODULE library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The device context of a window (of the screen for null), borrowed with GetDC and given back.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A COM interface pointer, released once.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* pointer) : pointer_(pointer) {}
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }
  // For calls that hand back a new interface through a pointer.
  T** out() {
    reset();
    return &pointer_;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace padwire::win32

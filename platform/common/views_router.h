// The routing of the core's View requests, the same in every back end with native windows:
// which window a view is, when it is created, shown, raised and destroyed, and the debug
// window's text held while the pad moves (HeldText). The back end makes the windows and says
// how a native window is shown, activated and raised.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/common/held_text.h"
#include "platform/views.h"

namespace padwire {

// One view's native window.
class ViewWindow {
 public:
  virtual ~ViewWindow() = default;
  // The native window, created on first use; 0 when it cannot be.
  virtual WindowHandle ensure() = 0;
  // The native window while it exists; 0 otherwise.
  virtual WindowHandle handle() const = 0;
  virtual void destroy() = 0;
  // Brings the controls up to date with the form's data.
  virtual void sync() {}
};

// A back end's window class as a view window: it has ensure(), handle() and destroy() that
// give or take its native window pointer, and sync() when it shows a form's controls.
template <class Window>
class RoutedWindow final : public ViewWindow {
 public:
  explicit RoutedWindow(Window& window) : window_(window) {}
  WindowHandle ensure() override { return reinterpret_cast<WindowHandle>(window_.ensure()); }
  WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(window_.handle()); }
  void destroy() override { window_.destroy(); }
  void sync() override {
    if constexpr (requires { window_.sync(); }) window_.sync();
  }

 private:
  Window& window_;
};

class ViewsRouter : public Views {
 public:
  WindowHandle window_of(View view) override;
  void show(View view, const std::string& caption) override;
  void bring_to_front(View view) override;
  void close(View view, const std::string& caption) override;
  // Once the debug window is open, its later text is drawn by flush_debug_text, when the pad
  // rests: neither the tick's key events nor the next pad change wait for the drawing.
  void show_debug_text(const std::string& text) override;
  void flush_debug_text();
  // When the loop should draw it: once the pad has been quiet for a moment, or at the latest
  // a second after the text changed. Milliseconds from now; nothing when no text waits.
  std::optional<std::uint64_t> debug_text_due_in() const;

  // The program ended: every window goes without running its closing steps, and no event
  // reaches the core after that.
  void program_ended();
  bool ended() const { return ended_; }

 protected:
  // The window of each view, as the back end attaches them.
  void route(View view, std::unique_ptr<ViewWindow> window);
  // Flag that the windows read to drop their events once the program ended.
  const bool& ended_flag() const { return ended_; }

  // Before a window is created (Windows loads the common controls then).
  virtual void before_create() {}
  // Shows a dialog and gives it the keyboard; shows the debug window without activation;
  // raises the debug window without activation.
  virtual void show_active(WindowHandle window) = 0;
  virtual void show_inactive(WindowHandle window) = 0;
  virtual void raise_inactive(WindowHandle window) = 0;
  virtual bool debug_visible() const = 0;
  virtual void draw_debug_text(const std::string& text) = 0;
  // The back end's monotonic clock.
  virtual std::uint64_t now_ms() const = 0;

 private:
  ViewWindow* window(View view) const { return windows_[static_cast<std::size_t>(view)].get(); }
  WindowHandle ensure(View view);

  bool ended_ = false;
  std::array<std::unique_ptr<ViewWindow>, 3> windows_;
  HeldText debug_text_;
};

}  // namespace padwire

#include "platform/common/views_router.h"

namespace padwire {

void ViewsRouter::route(View view, std::unique_ptr<ViewWindow> window) {
  windows_[static_cast<std::size_t>(view)] = std::move(window);
}

WindowHandle ViewsRouter::ensure(View view) {
  if (ended_) return WindowHandle{};
  ViewWindow* routed = window(view);
  if (!routed) return WindowHandle{};
  before_create();
  return routed->ensure();
}

WindowHandle ViewsRouter::window_of(View view) {
  return ensure(view);
}

void ViewsRouter::show(View view, const std::string& /*caption*/) {
  const WindowHandle shown = ensure(view);
  if (!shown) return;
  if (view == View::debug) {
    show_inactive(shown);  // the debug window neither takes nor accepts the focus
    return;
  }
  window(view)->sync();
  show_active(shown);
}

void ViewsRouter::bring_to_front(View view) {
  const ViewWindow* routed = window(view);
  const WindowHandle front = routed ? routed->handle() : WindowHandle{};
  if (!front || ended_) return;
  if (view == View::debug) {
    raise_inactive(front);
  } else {
    show_active(front);
  }
}

void ViewsRouter::close(View view, const std::string& /*caption*/) {
  if (ViewWindow* routed = window(view)) routed->destroy();
}

void ViewsRouter::show_debug_text(const std::string& text) {
  // Opening it is not deferred: it comes up where and when the program shows it, beneath any
  // window opened later.
  if (!debug_visible()) {
    debug_text_.drop();
    if (!ended_) draw_debug_text(text);
    return;
  }
  debug_text_.hold(text, now_ms());
}

std::optional<std::uint64_t> ViewsRouter::debug_text_due_in() const {
  return debug_text_.due_in(now_ms());
}

void ViewsRouter::flush_debug_text() {
  const std::optional<std::string> text = debug_text_.take();
  if (text && !ended_) draw_debug_text(*text);
}

void ViewsRouter::program_ended() {
  ended_ = true;
  for (View view : {View::joy_config, View::force_feedback, View::debug}) {
    if (ViewWindow* routed = window(view)) routed->destroy();
  }
}

}  // namespace padwire

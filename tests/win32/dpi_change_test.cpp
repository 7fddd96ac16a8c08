// A window moved to a monitor of another DPI takes the rectangle the system suggests, rather
// than going back to the middle of the screen.
#include <gtest/gtest.h>

#include "platform/win32/win32_debug_window.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

TEST(DpiChange, TheWindowTakesTheSuggestedRectangle) {
  DebugWindow window([] {});
  const HWND handle = window.ensure();
  ASSERT_NE(handle, nullptr);
  RECT suggested{12, 34, 12 + 300, 34 + 280};
  SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  RECT now{};
  GetWindowRect(handle, &now);
  EXPECT_EQ(now.left, suggested.left);
  EXPECT_EQ(now.top, suggested.top);
  EXPECT_EQ(now.right, suggested.right);
  EXPECT_EQ(now.bottom, suggested.bottom);
  EXPECT_NE(window.text_box(), nullptr) << "its contents are laid out again";
}

}  // namespace
}  // namespace padwire::win32

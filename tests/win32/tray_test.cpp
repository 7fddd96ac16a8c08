// The notification icon and the popup menu built from the menu model.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <atomic>
#include <thread>

#include "padwire_process.h"
#include "platform/win32/win32_tray.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

// Whether the shell holds an icon for this window and id: modifying nothing succeeds only then.
bool icon_present(HWND window, UINT id) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = window;
  probe.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// Added, lost with the notification area and added again, deleted; a deleted icon stays away.
// A new size of the program's icon (a DPI change) replaces the shown one.
TEST(Tray, IconIsAddedAgainWhenTheAreaIsMadeAnewUntilItIsDeleted) {
  test::RecorderWindow owner(L"Tray owner");
  Win32Tray tray(owner.handle(), LoadIconW(nullptr, IDI_APPLICATION));
  EXPECT_FALSE(tray.change_icon(LoadIconW(nullptr, IDI_WINLOGO))) << "no icon is shown yet";
  ASSERT_TRUE(tray.show("Padwire 1.6b for DirectX7a - by the Padwire developers"));
  EXPECT_TRUE(icon_present(owner.handle(), 1));
  EXPECT_TRUE(tray.change_icon(LoadIconW(nullptr, IDI_APPLICATION)));
  ASSERT_TRUE(test::lose_icon(owner.handle()));
  tray.add_again();
  EXPECT_TRUE(icon_present(owner.handle(), 1));
  EXPECT_TRUE(tray.remove());
  EXPECT_FALSE(icon_present(owner.handle(), 1));
  EXPECT_FALSE(tray.remove());
  tray.add_again();
  EXPECT_FALSE(icon_present(owner.handle(), 1));
}

struct Model {
  MenuItem enabled{"mnuEnabled", "Enabled", true};
  MenuItem sep{"mnuSep1", "-"};
  MenuItem grey{"mnuGrey", "Not now", false, false};
  MenuItem third{"mnuThird", "&Third"};
  MenuItem exit{"mnuExit", "E&xit"};
  std::array<const MenuItem*, 5> items() const { return {&enabled, &sep, &grey, &third, &exit}; }
};

TEST(Popup, MenuShowsTheModelsCheckMarksGreyItemsAndSeparators) {
  const Model model;
  const auto items = model.items();
  const Menu owned = build_popup_menu(items);
  const HMENU menu = owned.get();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  struct Expected {
    bool separator, checked, grey;
    const wchar_t* text;
  };
  const Expected expected[] = {{false, true, false, L"Enabled"},
                               {true, false, false, L""},
                               {false, false, true, L"Not now"},
                               {false, false, false, L"&Third"},
                               {false, false, false, L"E&xit"}};
  for (UINT i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, expected[i].separator);
    EXPECT_EQ((info.fState & MFS_CHECKED) != 0, expected[i].checked);
    EXPECT_EQ(info.wID, i + 1);
    if (!expected[i].separator) {  // separators are grey by nature
      EXPECT_EQ((info.fState & MFS_GRAYED) != 0, expected[i].grey);
      EXPECT_STREQ(text, expected[i].text);
    }
  }
}

// A window that opens the popup on a right-button-up notification, as the main window does.
class PopupOwner {
 public:
  PopupOwner() : window_(L"Popup owner"), tray_(window_.handle(), nullptr) {
    SetWindowLongPtrW(window_.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropW(window_.handle(), L"PopupOwner", this);
  }
  HWND handle() const { return window_.handle(); }
  std::optional<std::size_t> chosen;
  bool returned = false;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = static_cast<PopupOwner*>(GetPropW(window, L"PopupOwner"));
    if (self && message == 512 && LOWORD(lparam) == WM_RBUTTONUP) {
      const auto items = self->model_.items();
      self->chosen = self->tray_.track_popup(items);
      self->returned = true;
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  test::RecorderWindow window_;
  Model model_;
  Win32Tray tray_;
};

// Waits (on another thread, while the menu's loop runs) for the menu to show, then types.
void type_into_menu(std::vector<BYTE> keys, std::atomic<bool>& menu_seen) {
  for (int i = 0; i < 300 && !menu_seen; ++i) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) menu_seen = true;
    Sleep(10);
  }
  Sleep(100);
  for (BYTE vk : keys) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    Sleep(50);
  }
}

struct PopupCase {
  const char* name;
  std::vector<BYTE> keys;
  std::optional<std::size_t> chosen;
};

class Popup : public testing::TestWithParam<PopupCase> {};

TEST_P(Popup, OpensOnRightButtonUpAndReturnsTheItemChosenByKeyboard) {
  PopupOwner owner;
  SetCursorPos(300, 300);
  PostMessageW(owner.handle(), 512, 1, WM_RBUTTONUP);
  std::atomic<bool> menu_seen = false;
  std::thread typist(type_into_menu, GetParam().keys, std::ref(menu_seen));
  test::pump_until([&] { return owner.returned; }, 5000);
  typist.join();
  EXPECT_TRUE(menu_seen);
  ASSERT_TRUE(owner.returned);
  EXPECT_EQ(owner.chosen, GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Keys, Popup,
                         testing::Values(PopupCase{"FirstItem", {VK_DOWN, VK_RETURN}, 0},
                                         PopupCase{"AccessKey", {'T'}, 3},
                                         PopupCase{"AccessKeyOfExit", {'X'}, 4},
                                         PopupCase{"LastItemFromTheBottom", {VK_UP, VK_RETURN}, 4},
                                         PopupCase{"Escape", {VK_ESCAPE}, std::nullopt}),
                         [](const testing::TestParamInfo<PopupCase>& param) {
                           return param.param.name;
                         });

}  // namespace
}  // namespace padwire::win32

// A pad button held while the program ends, by each way it can end: the game in front gets the
// key-up, and the program ends with its icon gone.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

class KeysAtTheEnd : public EndToEnd {
 protected:
  // The game saw A's key go down once and come up once, and is in front.
  void expect_released() {
    EXPECT_TRUE(wait_for_keys(game_, 'J', 2)) << describe(game_.keys());
    EXPECT_EQ(key_records(game_, 'J'), (std::vector<InputRecord>{key_down('J'), key_up('J')}));
    EXPECT_EQ(GetForegroundWindow(), game_.handle());
  }

  RecorderWindow game_{L"Game"};
};

// The menu takes the foreground from the game; the game has it back before the key-up.
TEST_F(KeysAtTheEnd, AKeyHeldAtExitFromTheMenuComesUpInTheGame) {
  HWND main = launch_holding_a(game_);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(exit_from_menu(main));
  expect_released();
}

TEST_F(KeysAtTheEnd, AKeyHeldAtACloseFromOutsideComesUp) {
  HWND main = launch_holding_a(game_);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ended(main));
  expect_released();
}

// A log-off another program cancels leaves Padwire running and the key held; the session's
// real end releases it and ends the program.
TEST_F(KeysAtTheEnd, AKeyHeldAtTheEndOfTheSessionComesUp) {
  HWND main = launch_holding_a(game_);
  ASSERT_NE(main, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                  &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the log-off was refused";
  ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                  &answer));
  test::pump_for(500);
  EXPECT_EQ(key_records(game_, 'J').size(), 1u) << describe(game_.keys());
  EXPECT_TRUE(test::icon_present(main)) << "a cancelled log-off ended the program";

  ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                  &answer));
  EXPECT_TRUE(ended(main));
  expect_released();
}

}  // namespace
}  // namespace padwire::e2e

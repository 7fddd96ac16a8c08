// Window activation, the single instance, programs and files and the registry string reader.
#include <gtest/gtest.h>

#include "platform/win32/win32_shell.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

using test::narrow;

Win32Shell make_shell() {
  return Win32Shell(nullptr, nullptr, test::unique_name(L"Local\\PadwireTest"));
}

class WindowActivation : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(other.take_focus()); }
  // Created first, so the windows below lie above it on screen.
  test::RecorderWindow exact{L"Virtual Station"};
  test::RecorderWindow longer{L"Virtual Station Deluxe"};
  test::RecorderWindow other{L"Some other program"};
  Win32Shell shell{nullptr, nullptr};

  HWND foreground_after(const std::string& title, Activation& result) {
    result = shell.activate_window(title);
    test::pump_until([&] { return GetForegroundWindow() != other.handle(); }, 1000);
    return GetForegroundWindow();
  }
};

TEST_F(WindowActivation, AnExactTitleWinsOverALongerOneAboveIt) {
  Activation found{};
  EXPECT_EQ(foreground_after("Virtual Station", found), exact.handle());
  EXPECT_EQ(found, Activation::kActivated);
}

TEST_F(WindowActivation, ATitleThatBeginsWithTheTextIsTheFallback) {
  Activation found{};
  EXPECT_EQ(foreground_after("Virtual Station D", found), longer.handle());
  EXPECT_EQ(found, Activation::kActivated);
  EXPECT_EQ(foreground_after("virtual station", found), exact.handle()) << "case is ignored";
  EXPECT_EQ(found, Activation::kActivated);
}

TEST_F(WindowActivation, NoMatchingVisibleWindowFailsAndLeavesTheForeground) {
  test::RecorderWindow hidden{L"Hidden Emulator"};
  ShowWindow(hidden.handle(), SW_HIDE);
  ASSERT_TRUE(other.take_focus());
  for (const char* title : {"Hidden Emulator", "Station", "", "Virtual Station Deluxe Plus"}) {
    SCOPED_TRACE(title);
    EXPECT_EQ(shell.activate_window(title), Activation::kNotFound);
  }
  test::pump_for(100);
  EXPECT_EQ(GetForegroundWindow(), other.handle());
}

TEST_F(WindowActivation, AMinimisedWindowIsRestored) {
  ShowWindow(exact.handle(), SW_MINIMIZE);
  ASSERT_TRUE(other.take_focus());
  Activation found{};
  EXPECT_EQ(foreground_after("Virtual Station", found), exact.handle());
  EXPECT_FALSE(IsIconic(exact.handle()));
}

// The system keeps a window from the front (here a hook refuses its activation, as the
// foreground lock may): it was not activated.
TEST_F(WindowActivation, AWindowKeptFromTheFrontCountsAsNotActivated) {
  static HWND refused = nullptr;
  refused = exact.handle();
  HHOOK hook = SetWindowsHookExW(
      WH_CBT,
      [](int code, WPARAM wparam, LPARAM lparam) -> LRESULT {
        if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wparam) == refused) return 1;
        return CallNextHookEx(nullptr, code, wparam, lparam);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  Activation found{};
  EXPECT_NE(foreground_after("Virtual Station", found), exact.handle());
  EXPECT_EQ(found, Activation::kRefused);
  UnhookWindowsHookEx(hook);
}

TEST(SingleInstance, OnlyTheFirstHolderOfTheSessionMutexIsAlone) {
  const std::wstring name = test::unique_name(L"Local\\PadwireTest");
  Win32Shell first(nullptr, nullptr, name);
  EXPECT_FALSE(first.previous_instance());
  EXPECT_FALSE(first.previous_instance()) << "asking again does not count itself";
  {
    Win32Shell second(nullptr, nullptr, name);
    EXPECT_TRUE(second.previous_instance());
  }
  Win32Shell unrelated(nullptr, nullptr, test::unique_name(L"Local\\PadwireTest"));
  EXPECT_FALSE(unrelated.previous_instance());
}

TEST(SingleInstance, EndProgramRunsTheCallback) {
  int ended = 0;
  Win32Shell shell(nullptr, [&] { ++ended; });
  shell.end_program();
  EXPECT_EQ(ended, 1);
}

TEST(Shell, AppPathIsTheProgramsFolderWithoutATrailingBackslash) {
  Win32Shell shell = make_shell();
  const std::string path = shell.app_path();
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring folder = module;
  folder.resize(folder.find_last_of(L'\\'));
  EXPECT_EQ(path, narrow(folder));
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.back(), '\\');
}

TEST(Shell, FindFirstFileTakesNormalFilesWhoseLongNameMatches) {
  test::TempFolder folder;
  auto touch = [&](const wchar_t* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(folder.file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              attributes, nullptr);
    CloseHandle(file);
  };
  Win32Shell shell = make_shell();
  const std::string pattern = narrow(folder.path()) + "\\*vgs.exe";
  EXPECT_EQ(shell.find_first_file(pattern), "");
  CreateDirectoryW(folder.file(L"dirvgs.exe").c_str(), nullptr);
  touch(L"hiddenvgs.exe", FILE_ATTRIBUTE_HIDDEN);
  touch(L"notes.txt");
  touch(L"oldvgs.exe.bak");
  EXPECT_EQ(shell.find_first_file(pattern), "");
  touch(L"PSXVGS.EXE");
  EXPECT_EQ(shell.find_first_file(pattern), "PSXVGS.EXE");
  EXPECT_EQ(shell.find_first_file(narrow(folder.path()) + "\\nothing\\*vgs.exe"), "");
  EXPECT_EQ(shell.find_first_file(""), "");
}

TEST(Shell, RunStartsACommandLineWithoutWaiting) {
  test::TempFolder folder;
  const std::wstring marker = folder.file(L"ran.txt");
  ASSERT_TRUE(run_command_line("cmd.exe /c echo ran> \"" + narrow(marker) + "\"", 7));
  EXPECT_TRUE(test::pump_until([&] { return test::read_file(marker).size() >= 3; }, 10000));
  EXPECT_FALSE(run_command_line("no-such-program-anywhere.exe", 1));
  EXPECT_FALSE(run_command_line("", 1));
}

// Unquoted, "...\My Tool\probe.exe" would start "...\My.exe" first. Both are copies of this
// test program, which started so only writes down its own path.
TEST(Shell, RunQuotesTheLocationOfAProgramWhosePathHasBlanks) {
  test::TempFolder folder;
  const std::wstring tool = folder.file(L"My Tool");
  const std::wstring program = tool + L"\\probe.exe";
  const std::wstring decoy = folder.file(L"My.exe");
  const std::wstring mark = folder.file(L"started.txt");
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CreateDirectoryW(tool.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(self, program.c_str(), FALSE) && CopyFileW(self, decoy.c_str(), FALSE));
  SetEnvironmentVariableW(L"PADWIRE_TEST_STARTED_MARK", mark.c_str());
  const bool ran = run_command_line(narrow(program), 1);
  SetEnvironmentVariableW(L"PADWIRE_TEST_STARTED_MARK", nullptr);
  ASSERT_TRUE(ran);
  auto started = [&] {
    const std::vector<unsigned char> bytes = test::read_file(mark);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  };
  EXPECT_TRUE(test::pump_until([&] { return started().ends_with(L".exe"); }, 10000));
  EXPECT_TRUE(started().ends_with(L"\\My Tool\\probe.exe")) << narrow(started());
  test::pump_until([&] { return DeleteFileW(program.c_str()) != FALSE; });
  RemoveDirectoryW(tool.c_str());
}

TEST(Shell, ShellExecuteReportsAFileThatCannotBeOpened) {
  EXPECT_FALSE(shell_execute(nullptr, "", "Z:\\no\\such\\emulator.exe", "", "", 1));
  EXPECT_FALSE(make_shell().launch_emulator("emulator.exe", "Z:\\no\\such"));
  EXPECT_FALSE(shell_execute(nullptr, "Open", "", "", "", 1));
}

class RegistryReader : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                              KEY_WRITE | KEY_WOW64_32KEY, nullptr, &hkey_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(hkey_);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), KEY_WOW64_32KEY, 0);
  }
  void put(const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(hkey_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  std::string read(const std::string& name) {
    return GetRegString(HKEY_LOCAL_MACHINE, narrow(key_), name);
  }
  // Under SOFTWARE, where 32-bit programs' keys live apart from 64-bit ones on 64-bit Windows.
  const std::wstring key_ = L"SOFTWARE\\" + test::unique_name(L"PadwireTest");
  HKEY hkey_ = nullptr;
};

TEST_F(RegistryReader, ReadsTheTextFromThe32BitView) {
  put(L"Location", L"C:\\Emulators\\vgs.exe");
  EXPECT_EQ(read("location"), "C:\\Emulators\\vgs.exe");
}

TEST_F(RegistryReader, TextOf255CharactersOrMoreDoesNotFit) {
  put(L"Fits", std::wstring(254, L'a'));
  EXPECT_EQ(read("Fits"), std::string(254, 'a'));
  put(L"TooLong", std::wstring(255, L'a'));
  EXPECT_EQ(read("TooLong"), "");
}

TEST_F(RegistryReader, AbsentKeysValuesAndNonTextFail) {
  const DWORD number = 7;
  RegSetValueExW(hkey_, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  EXPECT_EQ(read("Missing"), "");
  EXPECT_EQ(read("Number"), "");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\No\\Such\\Key", "Location"), "");
}

TEST_F(RegistryReader, OtherRootsAreThePredefinedKeys) {
  const std::wstring user_key = L"Software\\" + test::unique_name(L"PadwireTest");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, user_key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"pad"), 8);
  RegCloseKey(key);
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, narrow(user_key), "Name"), "pad");
  RegDeleteKeyW(HKEY_CURRENT_USER, user_key.c_str());
}

}  // namespace
}  // namespace padwire::win32

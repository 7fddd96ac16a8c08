// The shell of the Linux program: files, command lines, programs started, the instance lock,
// the autostart entry and the screenshots' folder.
#include "platform/linux/linux_shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "linux_test_support.h"
#include "platform/linux/linux_command_line.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_instance.h"
#include "platform/linux/linux_screenshot_folder.h"

namespace padwire::lin {
namespace {

using test::ScopedVariable;
using test::TestFolder;

TEST(LinuxShell, FindsTheFirstRegularFileLikeWindowsWithoutRegardToCase) {
  TestFolder folder;
  folder.write("ZVGS.EXE", "");
  folder.write("myvgs.exe", "");
  folder.write(".hiddenvgs.exe", "");
  folder.write("vgs.exe.bak", "");
  std::filesystem::create_directory(folder / "avgs.exe");
  LinuxShell shell({});
  // The core joins the program folder and the pattern with a backslash.
  EXPECT_EQ(shell.find_first_file(folder.path() + "\\*vgs.exe"), "myvgs.exe");
  EXPECT_EQ(shell.find_first_file(folder.path() + "\\z?GS.exe"), "ZVGS.EXE");
  EXPECT_EQ(shell.find_first_file(folder.path() + "\\*.txt"), "");
  EXPECT_EQ(shell.find_first_file(folder.path() + "\\"), "");
  EXPECT_EQ(shell.find_first_file(folder / "missing\\*"), "");
}

// Waits for a file a started program writes; the test fails only when it never comes.
bool appears(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    if (std::filesystem::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(LinuxShell, StartsProgramsAndSaysWhenNoControllerToolIsInstalled) {
  TestFolder folder;
  std::vector<std::string> messages;
  DesktopHooks hooks;
  hooks.message_box = [&](const std::string& text, std::uint32_t, const std::string&) {
    messages.push_back(text);
  };
  LinuxShell shell(hooks);
  EXPECT_TRUE(shell.run("touch \"" + (folder / "a b") + "\"", kShowNormal));
  EXPECT_TRUE(appears(folder / "a b"));
  EXPECT_TRUE(start_program({"sh", "-c", "touch here"}, folder.path()));
  EXPECT_TRUE(appears(folder / "here"));
  EXPECT_FALSE(shell.run("no-such-program-anywhere", kShowNormal));
  EXPECT_FALSE(shell.run("", kShowNormal));
  EXPECT_FALSE(start_program({"true"}, folder / "missing"));
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child of ours is left to reap";

  ScopedVariable path("PATH", folder.path().c_str());  // neither jstest-gtk nor wine
  EXPECT_TRUE(shell.run("rundll32 shell32,Control_RunDLL joy.cpl", kShowMinimizedFocus));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("jstest-gtk"), std::string::npos);
  EXPECT_FALSE(shell.shell_execute(0, "", "vgs.exe", "", folder.path(), kShowNormal));
  EXPECT_FALSE(shell.run("C:\\vgs.exe", kShowNormal));
  EXPECT_EQ(find_program("sh"), "");
  EXPECT_NE(find_program("/bin/sh"), "");
}

TEST(InstanceLock, IsHeldForTheObjectsLife) {
  TestFolder folder;
  const std::string path = folder / "padwire.lock";
  {
    LinuxShell first({}, path);
    EXPECT_FALSE(first.previous_instance());
    EXPECT_FALSE(first.previous_instance());
    LinuxShell second({}, path);
    EXPECT_TRUE(second.previous_instance());
  }
  EXPECT_FALSE(InstanceLock(path).held_elsewhere());
  EXPECT_FALSE(InstanceLock(folder / "missing/padwire.lock").held_elsewhere());
  ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/1000");
  EXPECT_EQ(InstanceLock::default_path(), "/run/user/1000/padwire.lock");
}

TEST(Autostart, ExecArgumentsReadBackAsWritten) {
  for (const char* argument : {"/usr/bin/padwire", "/home/a b/pad\"wire", "/x/$HOME`\\%u=1"}) {
    const auto quoted = exec_argument(argument);
    ASSERT_TRUE(quoted) << argument;
    EXPECT_EQ(exec_arguments(*quoted + " --login"), (std::vector<std::string>{argument, "--login"}))
        << *quoted;
  }
  EXPECT_FALSE(exec_argument("/two\nlines"));
  EXPECT_FALSE(exec_arguments("\"open"));
}

TEST(Autostart, TheEntryCountsOnlyWhenItStartsThisProgram) {
  TestFolder folder;
  folder.write("pad wire", "");
  std::filesystem::permissions(folder / "pad wire", std::filesystem::perms::owner_all);
  std::filesystem::create_symlink(folder / "pad wire", folder / "link");
  const std::string entry = folder / "autostart/padwire.desktop";
  Autostart autostart(entry, folder / "pad wire");
  EXPECT_FALSE(autostart.enabled());
  ASSERT_TRUE(autostart.set(true));
  EXPECT_TRUE(autostart.enabled());
  EXPECT_NE(folder.read("autostart/padwire.desktop").find(" --login\n"), std::string::npos);
  EXPECT_TRUE(Autostart(entry, folder / "link").enabled()) << "the same file through a link";
  EXPECT_FALSE(Autostart(entry, "/bin/sh").enabled());
  folder.write("autostart/padwire.desktop",
               folder.read("autostart/padwire.desktop") + "Hidden=true\n");
  EXPECT_FALSE(autostart.enabled());
  ASSERT_TRUE(autostart.set(false));
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_TRUE(autostart.set(false));
}

class Camera final : public Screenshot {
 public:
  bool get_desktop(int, int, std::int16_t, int, const std::string& path) override {
    shots.push_back(path);
    return true;
  }
  std::vector<std::string> shots;
};

TEST(ScreenshotFolder, ShotsGoToPadwireInThePicturesFolderTheDesktopNames) {
  TestFolder folder;
  ScopedVariable home("HOME", folder.path().c_str());
  ScopedVariable config("XDG_CONFIG_HOME", (folder / "config").c_str());
  EXPECT_EQ(pictures_folder(), folder / "Pictures");
  std::filesystem::create_directory(folder / "config");
  folder.write("config/user-dirs.dirs",
               "# made by xdg-user-dirs\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  EXPECT_EQ(ScreenshotFolder::default_folder(), folder / "Bilder/Padwire");
  Camera camera;
  ScreenshotFolder shots(camera, ScreenshotFolder::default_folder());
  EXPECT_TRUE(shots.get_desktop(0, 0, -1, 60, "/usr/bin\\20261231235959.jpg"));
  EXPECT_EQ(camera.shots, std::vector<std::string>{folder / "Bilder/Padwire/20261231235959.jpg"});
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Bilder/Padwire"));
}

}  // namespace
}  // namespace padwire::lin

// The settings file: what it keeps, how it reads back, and what becomes of a file that is
// damaged or cannot be written. The user's controller mappings file beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "linux_test_support.h"
#include "platform/linux/linux_controller_mappings.h"
#include "platform/linux/linux_settings_file.h"

namespace padwire::lin {
namespace {

using namespace std::literals;
using test::ScopedVariable;
using test::TestFolder;

std::vector<std::string> names_in(const TestFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SettingsFile, OddKeysAndValuesReadBackAfterARestart) {
  const std::string long_text(100000, 'x');
  const struct {
    std::string key, value;
  } cases[] = {
      {"Empty", ""},
      {"Blanks", "  two before, one after "},
      {"Lines", "first\nsecond\r\nthird\ttabbed"},
      {"Non-ASCII", "Ünïcödé ✓ 𝄞"},
      {"Not UTF-8", std::string("\xff\xfe bytes \xc3"sv)},
      {"Controls", std::string("nul \0 bell \a del \x7f"sv)},
      {"Escapes", "\\x41 \\n \\\\ = [x] ; # end"},
      {"Long", long_text},
      {"a=b", "equals in the key"},
      {"[Padwire\\Custom]", "a key that looks like a header"},
      {"; end of settings", "a key that looks like the end"},
      {" #blank key ", "="},
  };
  TestFolder folder;
  const std::string path = folder / "sub/padwire/settings.ini";
  {
    SettingsFile file(path);
    EXPECT_EQ(file.load_problem(), "");
    for (const auto& c : cases) ASSERT_TRUE(file.save("Padwire", "Odd", c.key, c.value)) << c.key;
    ASSERT_TRUE(file.save("Padwire", "Names", "1", "Doom"));
  }
  EXPECT_EQ(std::filesystem::status(folder / "sub/padwire").permissions(),
            std::filesystem::perms::owner_all);
  SettingsFile again(path);
  EXPECT_EQ(again.load_problem(), "");
  for (const auto& c : cases) EXPECT_EQ(again.get("Padwire", "Odd", c.key, "absent"), c.value);
  // Application, section and key in any case; the names the registry refuses are never stored.
  EXPECT_EQ(again.get("PADWIRE", "names", "1", ""), "Doom");
  EXPECT_TRUE(again.save("padwire", "NAMES", "1", "Quake"));
  EXPECT_EQ(again.get("Padwire", "Names", "1", ""), "Quake");
  EXPECT_FALSE(again.save("Padwire", "A\\B", "1", "x"));
  EXPECT_FALSE(again.save("", "Names", "1", "x"));
  EXPECT_FALSE(again.save("Padwire", "Names", "", "x"));
  EXPECT_EQ(again.get("Padwire", "Names", "", "fallback"), "fallback");
  EXPECT_NE(folder.read("sub/padwire/settings.ini").find("[Padwire\\Names]\n1=Quake\n"),
            std::string::npos);
}

TEST(SettingsFile, AFileThatDoesNotParseIsKeptAsideWithAMessage) {
  const std::string good = "; comment\n[Padwire\\Custom]\nUp = 38\n; end of settings\n";
  const std::string damaged[] = {
      good.substr(0, good.size() - 1),  // cut short, even by its last line break
      good.substr(0, 30),
      "[Padwire\\Custom]\nno equals sign\n; end of settings\n",
      "Up=38\n; end of settings\n",  // a value before any header
      "[Padwire\\Custom]\nUp=\\q\n; end of settings\n",
      std::string("\x7f"
                  "ELF\0\0\x01",
                  7),
      "[Padwire\\Custom]\nUp=\xc3\x28\n; end of settings\n",
  };
  for (const auto& text : damaged) {
    TestFolder folder;
    folder.write("settings.ini", text);
    folder.write("settings.ini.broken-earlier", "kept from before");
    SettingsFile file(folder / "settings.ini");
    const auto names = names_in(folder);
    ASSERT_EQ(names.size(), 2u) << text;
    EXPECT_EQ(names[0].rfind("settings.ini.broken-2", 0), 0u) << names[0];
    EXPECT_EQ(folder.read(names[0]), text);
    EXPECT_NE(file.load_problem().find(folder / names[0]), std::string::npos)
        << file.load_problem();
    EXPECT_EQ(file.get("Padwire", "Custom", "Up", "none"), "none");
    // The next start finds a new, good file.
    EXPECT_TRUE(file.save("Padwire", "Custom", "Up", "40"));
    EXPECT_EQ(SettingsFile(folder / "settings.ini").load_problem(), "");
  }
  // Blanks around names, and what an editor may add: a byte order mark, CR LF line ends.
  for (const std::string& text :
       {good, std::string("\xEF\xBB\xBF[Padwire\\Custom]\r\n Up\t=38\r\n; end of settings\r\n")}) {
    TestFolder folder;
    folder.write("settings.ini", text);
    SettingsFile file(folder / "settings.ini");
    EXPECT_EQ(file.load_problem(), "");
    EXPECT_EQ(file.get("Padwire", "Custom", "Up", ""), "38");
  }
}

TEST(SettingsFile, AnEarlierDamagedFileIsNeverReplaced) {
  TestFolder folder;
  for (int i = 0; i < 3; ++i) {
    folder.write("settings.ini", "garbage " + std::to_string(i));
    EXPECT_NE(SettingsFile(folder / "settings.ini").load_problem(), "");
  }
  // A pipe in the file's place is no settings file either, and the read does not wait on it.
  ASSERT_EQ(mkfifo((folder / "settings.ini").c_str(), 0600), 0);
  EXPECT_NE(SettingsFile(folder / "settings.ini").load_problem(), "");
  EXPECT_EQ(names_in(folder).size(), 4u);
}

TEST(SettingsFile, AFailedWriteKeepsTheOldFileAndTheOldValue) {
  TestFolder folder;
  SettingsFile file(folder / "settings.ini");
  ASSERT_TRUE(file.save("Padwire", "Custom", "Up", "38"));
  const std::string before = folder.read("settings.ini");
  // Files may grow to no more than 4 KiB: the write of a longer value fails half way.
  signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = file.save("Padwire", "Custom", "Down", std::string(10000, 'x'));
  const bool replaced = file.save("Padwire", "Custom", "Up", std::string(10000, 'y'));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(saved);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(folder.read("settings.ini"), before);
  EXPECT_EQ(names_in(folder), std::vector<std::string>{"settings.ini"}) << "no temporary left";
  EXPECT_EQ(file.get("Padwire", "Custom", "Down", "absent"), "absent");
  EXPECT_EQ(file.get("Padwire", "Custom", "Up", ""), "38");
}

TEST(SettingsFile, TheDefaultPathFollowsTheConfigurationFolder) {
  ScopedVariable home("HOME", "/home/player");
  {
    ScopedVariable config("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(SettingsFile::default_path(), "/somewhere/config/padwire/settings.ini");
  }
  ScopedVariable config("XDG_CONFIG_HOME", "relative");  // ignored, as a relative one must be
  EXPECT_EQ(SettingsFile::default_path(), "/home/player/.config/padwire/settings.ini");
  EXPECT_EQ(controller_mappings_path(), "/home/player/.config/padwire/gamecontrollerdb.txt");
}

TEST(ControllerMappings, LinesForLinuxAreKeptAndAFileWithALineThatIsNoMappingIsIgnored) {
  TestFolder folder;
  const std::string pad = "030000005e0400008e02000014010000,Pad,a:b0,b:b1,";
  const std::string linux_pad = "03000000de2800000112000001000000,Deck,a:b3,platform:Linux,";
  const struct {
    std::string text;
    std::vector<std::string> lines;
    bool problem;
  } cases[] = {
      {"# mine\n\n" + pad + "\r\n" + linux_pad + "\n", {pad, linux_pad}, false},
      {pad + "platform:Windows,\n", {}, false},
      {"\xEF\xBB\xBF" + pad, {pad}, false},
      {pad + "\n" + "not a mapping\n", {}, true},
      {"030000005e04,Pad,a:b0\n", {}, true},   // a short GUID
      {pad.substr(0, 37) + "a,\n", {}, true},  // a field with no input
  };
  for (const auto& c : cases) {
    folder.write("gamecontrollerdb.txt", c.text);
    const ControllerMappings mappings = read_controller_mappings(folder / "gamecontrollerdb.txt");
    EXPECT_EQ(mappings.lines, c.lines) << c.text;
    EXPECT_EQ(!mappings.problem.empty(), c.problem) << c.text;
  }
  EXPECT_TRUE(read_controller_mappings(folder / "absent.txt").problem.empty());
  EXPECT_FALSE(read_controller_mappings(folder.path()).problem.empty());  // a folder
}

}  // namespace
}  // namespace padwire::lin

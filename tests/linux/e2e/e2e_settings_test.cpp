// What lasts over a restart: in the settings file the profile, the options and a key set made in
// the assignment dialog, which then brings its window (the one named like it) to the front; the
// autostart entry of "Start at Login", which the item then removes. A settings file that does not
// parse is kept aside with a message, a mappings file that does not is left out with one; Print
// Screen saves a JPEG in the desktop's pictures folder.
#include <X11/keysym.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "linux_end_to_end.h"
#include "shell/form_padwire.h"

namespace padwire::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSetName = "Recorder Game";

// Where the assignment dialog's controls are, in its client area (its layout in twips / 15).
constexpr int kButtonAX = 257, kButtonAY = 120;
constexpr int kNamesX = 144, kNamesY = 245;
constexpr int kSaveX = 249, kSaveY = 213;

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(LinuxEndToEnd, ProfileOptionsAndADialogKeySetLastAndTheSetActivatesItsWindow) {
  Recorder game(session().display(), "Game");
  ASSERT_TRUE(launch());
  ASSERT_TRUE(choose(menu::kSnes9x));
  ASSERT_TRUE(choose(menu::kDeadZone));
  EXPECT_TRUE(wait_until([&] { return stored("Custom", "DeadZone") == "True"; }));
  EXPECT_EQ(stored("Custom", "Last"), "1");
  // "Start at Login": the desktop's autostart entry, which starts this program with --login.
  const fs::path autostart = fs::path(session().config_home()) / "autostart/padwire.desktop";
  const std::string exec =
      "Exec=" + fs::canonical(std::getenv("PADWIRE_SCRIPTED")).string() + " --login\n";
  ASSERT_TRUE(choose(menu::kStartAtLogin));
  EXPECT_TRUE(wait_until([&] { return read_text(autostart).find(exec) != std::string::npos; }))
      << read_text(autostart);
  ASSERT_TRUE(take_focus(game));
  EXPECT_TRUE(tap(pad::kA, game, XK_d)) << describe(game.records());

  // The dialog: a click on A, then K is A's key; the set is named and saved.
  ASSERT_TRUE(choose(menu::kConfigureJoypad));
  unsigned long dialog = 0;
  ASSERT_TRUE(wait_until([&] { return (dialog = desktop_->find("SideWinder Config")) != 0; }));
  std::optional<Rect> where;
  ASSERT_TRUE(wait_until([&] { return (where = desktop_->geometry(dialog)).has_value(); }));
  desktop_->activate(dialog);
  ASSERT_TRUE(wait_until([&] { return desktop_->active() == dialog; }));
  desktop_->click(where->x + kButtonAX, where->y + kButtonAY);
  sleep_ms(300);
  desktop_->tap_key(XK_k);
  sleep_ms(300);
  desktop_->click(where->x + kNamesX, where->y + kNamesY);
  desktop_->tap_key(XK_End);
  desktop_->key(XK_Shift_L, true);
  desktop_->tap_key(XK_Home);
  desktop_->key(XK_Shift_L, false);
  desktop_->type(kSetName);
  desktop_->click(where->x + kSaveX, where->y + kSaveY);
  ASSERT_TRUE(wait_until([&] { return desktop_->find("SideWinder Config") == 0; }))
      << "Save did not close the dialog";
  EXPECT_EQ(stored("Custom", "3"), "75");
  EXPECT_EQ(stored("Names", "1"), kSetName);
  EXPECT_EQ(stored(kSetName, "3"), "75");
  EXPECT_EQ(stored("Custom", "Last"), "3");
  ASSERT_TRUE(exit_from_menu());

  // After a restart: the Custom set and the dead zone (a resting stick types nothing).
  ASSERT_TRUE(launch());
  ASSERT_TRUE(take_focus(game));
  game.clear();
  ASSERT_TRUE(padwire_->axis(0, -1));
  EXPECT_TRUE(tap(pad::kA, game, XK_k)) << describe(game.records());
  EXPECT_EQ(game.records().size(), 2u) << describe(game.records());
  EXPECT_EQ(stored("Custom", "DeadZone"), "True");
  ASSERT_TRUE(choose(menu::kStartAtLogin));  // checked, as the entry is there: now removed
  EXPECT_TRUE(wait_until([&] { return !fs::exists(autostart); }));

  // The set's window appears: a double click on the icon brings it to the front, sends it
  // Enter and gives it the set's keys.
  Recorder named(session().display(), kSetName, 550, 300);
  ASSERT_TRUE(choose(menu::kVgs));
  ASSERT_TRUE(take_focus(game));
  const std::optional<Rect> icon = desktop_->tray_icon();
  ASSERT_TRUE(icon);
  desktop_->click(icon->x + icon->width / 2, icon->y + icon->height / 2);
  desktop_->click(icon->x + icon->width / 2, icon->y + icon->height / 2);
  EXPECT_TRUE(wait_until([&] { return desktop_->active() == named.window(); }))
      << "the set's window was not activated";
  EXPECT_TRUE(wait_for_keys(named, XK_Return, 2)) << describe(named.records());
  EXPECT_TRUE(tap(pad::kA, named, XK_k)) << describe(named.records());
  EXPECT_TRUE(exit_from_menu());
}

// True when `path` holds a whole JPEG of `width` x `height`.
bool valid_jpeg(const fs::path& path, int width, int height) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> data{std::istreambuf_iterator<char>(in), {}};
  tjhandle decoder = tjInitDecompress();
  int w = 0, h = 0, subsampling = 0, colours = 0;
  bool ok =
      tjDecompressHeader3(decoder, data.data(), data.size(), &w, &h, &subsampling, &colours) == 0 &&
      w == width && h == height;
  if (ok) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(w * h * 3));
    ok = tjDecompress2(decoder, data.data(), data.size(), pixels.data(), w, 0, h, TJPF_RGB, 0) == 0;
  }
  tjDestroy(decoder);
  return ok;
}

TEST_F(LinuxEndToEnd, ABadSettingsOrMappingsFileIsToldOfAndPrintScreenSavesAJpeg) {
  // The desktop's pictures folder, where the screenshots go into a folder Padwire.
  const fs::path folder = fs::path(session().folder()) / "pictures" / "Padwire";
  fs::create_directories(session().config_home());
  std::ofstream(fs::path(session().config_home()) / "user-dirs.dirs")
      << "XDG_PICTURES_DIR=\"" << folder.parent_path().string() << "\"\n";

  const std::string garbled = "[Padwire\\Custom\nLast=\x01\x02\xff\n[[";
  const fs::path config = fs::path(session().settings_path()).parent_path();
  fs::create_directories(config);
  std::ofstream(session().settings_path(), std::ios::binary) << garbled;
  const std::string mappings = "not a mapping\n";
  std::ofstream(config / "gamecontrollerdb.txt", std::ios::binary) << mappings;

  Recorder game(session().display(), "Game");
  ASSERT_TRUE(padwire_->start(false));
  // A message for each file, one after the other, before the program's other windows, under
  // the program's title.
  for (int message = 0; message < 2; ++message) {
    unsigned long box = 0;
    ASSERT_TRUE(wait_until([&] { return (box = desktop_->find(kMainCaption)) != 0; }))
        << "no message " << message << "\n"
        << padwire_->log();
    EXPECT_FALSE(padwire_->wait_for_line("tray-ready", 0)) << "the icon did not wait";
    desktop_->activate(box);
    ASSERT_TRUE(wait_until([&] { return desktop_->active() == box; }));
    desktop_->tap_key(XK_Return);
    ASSERT_TRUE(wait_until([&] { return desktop_->find(kMainCaption) != box; }));
  }
  ASSERT_TRUE(padwire_->wait_for_line("tray-ready", 15000)) << padwire_->log();
  std::vector<fs::path> kept;
  std::ifstream left(config / "gamecontrollerdb.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(left), {}), mappings) << "left as it was";
  for (const auto& entry : fs::directory_iterator(config)) {
    std::ifstream in(entry.path(), std::ios::binary);
    if (std::string{std::istreambuf_iterator<char>(in), {}} == garbled)
      kept.push_back(entry.path());
  }
  ASSERT_EQ(kept.size(), 1u) << "the file was not kept";
  EXPECT_NE(kept.front(), fs::path(session().settings_path()));

  // Print Screen held while the pad changes: a JPEG of the screen in the pictures folder.
  ASSERT_TRUE(take_focus(game));
  desktop_->key(XK_Print, true);
  ASSERT_TRUE(padwire_->button(pad::kA, true));
  fs::path shot;
  EXPECT_TRUE(wait_until([&] {
    std::error_code none;
    for (const auto& entry : fs::directory_iterator(folder, none)) {
      if (entry.path().extension() == ".jpg" && valid_jpeg(entry.path(), 1024, 768)) {
        shot = entry.path();
      }
    }
    return !shot.empty();
  })) << "no screenshot in "
      << folder;
  desktop_->key(XK_Print, false);
  ASSERT_TRUE(padwire_->button(pad::kA, false));
  EXPECT_TRUE(exit_from_menu());
}

}  // namespace
}  // namespace padwire::e2e

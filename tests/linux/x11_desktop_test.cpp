// The X11 services, each test on a headless X server of its own: activation by title with and
// without a window manager, and screenshots.
#include <gtest/gtest.h>

// After GoogleTest, which has names that Xlib defines as macros (None, Bool).
#include <X11/Xlib.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/x11_display.h"
#include "platform/linux/x11_screenshot.h"
#include "platform/linux/x11_windows.h"
#include "x_server.h"

namespace padwire::lin {
namespace {

Window focused(Display* display) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

TEST(X11Activation, RaisesAndFocusesWithoutAWindowManagerExactTitleFirst) {
  XServer x("1024x768x24");
  ASSERT_TRUE(x.display());
  const Window exact = x.make_window("Padwire Target");
  const Window longer = x.make_window("padwire target two");  // on top of the other
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire Targ"), Activation::kActivated);
  EXPECT_EQ(focused(x.display()), longer);
  EXPECT_EQ(activate_window_by_title(x.display(), "PADWIRE TARGET"), Activation::kActivated);
  EXPECT_EQ(focused(x.display()), exact);
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire Target three"), Activation::kNotFound);
  EXPECT_EQ(activate_window_by_title(x.display(), ""), Activation::kNotFound);
  EXPECT_EQ(activate_window_by_title(nullptr, "Padwire Target"), Activation::kNotFound);
}

TEST(X11Activation, AsksTheWindowManagerWhenOneRuns) {
  XServer x("1024x768x24");
  ASSERT_TRUE(x.display());
  // Made before the window manager starts, which then takes them in.
  const Window target = x.make_window("Émulateur Target");
  const Window other = x.make_window("Other Window");
  ASSERT_TRUE(x.start_window_manager(2));
  const Atom active = XInternAtom(x.display(), "_NET_ACTIVE_WINDOW", False);
  const auto active_window = [&] {
    const auto windows = x.root_windows(active);
    return windows.empty() ? 0 : windows.front();
  };
  EXPECT_EQ(activate_window_by_title(x.display(), "Other Window"), Activation::kActivated);
  EXPECT_EQ(active_window(), other);
  EXPECT_EQ(activate_window_by_title(x.display(), "émulateur target"), Activation::kActivated);
  EXPECT_EQ(active_window(), target);
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire"), Activation::kNotFound);
}

struct Jpeg {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

// The file decoded; an empty image when it is not a JPEG.
Jpeg decode(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
  Jpeg jpeg;
  tjhandle decoder = tjInitDecompress();
  int subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(decoder, bytes.data(), bytes.size(), &jpeg.width, &jpeg.height,
                          &subsampling, &colorspace) == 0) {
    jpeg.rgb.resize(static_cast<std::size_t>(jpeg.width * jpeg.height * 3));
    if (tjDecompress2(decoder, bytes.data(), bytes.size(), jpeg.rgb.data(), jpeg.width, 0,
                      jpeg.height, TJPF_RGB, 0) != 0) {
      jpeg = {};
    }
  }
  tjDestroy(decoder);
  return jpeg;
}

// A shot of a screen of that size and depth with a red window at (50, 50), as the core names
// the file: "<folder>\<name>.jpg".
void expect_screenshot_of(const std::string& screen, int width, int height) {
  XServer x(screen);
  ASSERT_TRUE(x.display());
  XColor red{};
  red.red = 0xFFFF;
  XAllocColor(x.display(), DefaultColormap(x.display(), 0), &red);
  x.make_window("Red", red.pixel);
  const std::filesystem::path folder = testing::TempDir() + "padwire-shot-" + screen;
  std::filesystem::create_directories(folder);
  X11Screenshot screenshot(x.display());
  ASSERT_TRUE(screenshot.save_jpeg(folder.string() + "\\shot.jpg", 60));
  const Jpeg jpeg = decode((folder / "shot.jpg").string());
  EXPECT_EQ(jpeg.width, width);
  EXPECT_EQ(jpeg.height, height);
  const std::size_t inside = static_cast<std::size_t>((100 * width + 100) * 3);
  ASSERT_LT(inside + 2, jpeg.rgb.size());
  EXPECT_GT(jpeg.rgb[inside], 200);
  EXPECT_LT(jpeg.rgb[inside + 1], 50);
  EXPECT_LT(jpeg.rgb[inside + 2], 50);

  EXPECT_FALSE(screenshot.save_jpeg((folder / "missing" / "shot.jpg").string(), 60));
  EXPECT_FALSE(X11Screenshot(nullptr).save_jpeg((folder / "none.jpg").string(), 60));
  // The one file written, no partial one beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::filesystem::remove_all(folder);
}

TEST(X11Screenshots, IsAJpegOfTheWholeScreenShowingWhatIsOnIt) {
  expect_screenshot_of("1024x768x24", 1024, 768);
}

TEST(X11Screenshots, ConvertsAScreenOfFewerColours) {
  expect_screenshot_of("640x480x16", 640, 480);
}

}  // namespace
}  // namespace padwire::lin

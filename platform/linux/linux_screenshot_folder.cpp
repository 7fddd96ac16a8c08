#include "platform/linux/linux_screenshot_folder.h"

#include "platform/linux/linux_files.h"
#include "platform/linux/linux_paths.h"

namespace padwire::lin {

std::string ScreenshotFolder::default_folder() {
  return pictures_folder() + "/Padwire";
}

bool ScreenshotFolder::save_jpeg(const std::string& path, int quality) {
  const std::string native = native_path(path);
  const std::string name = native.substr(native.rfind('/') + 1);
  if (name.empty() || !make_folders(folder_)) return false;
  return camera_.save_jpeg(folder_ + "/" + name, quality);
}

}  // namespace padwire::lin

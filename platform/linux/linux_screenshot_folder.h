// Where the Linux program keeps its screenshots: in the folder Padwire inside the user's
// pictures folder, under the name the core gives them (yyyymmddhhmmss.jpg). The core names a
// file in the program's folder, as the Windows program keeps them; an installed Linux program
// lies in a folder the user cannot write to (/usr/bin).
#pragma once

#include <string>

#include "platform/screenshot.h"

namespace padwire::lin {

class ScreenshotFolder final : public Screenshot {
 public:
  // `camera` writes the files; `folder` is made, private to the user, at the first shot.
  ScreenshotFolder(Screenshot& camera, std::string folder)
      : camera_(camera), folder_(std::move(folder)) {}

  // <pictures folder>/Padwire.
  static std::string default_folder();

  bool save_jpeg(const std::string& path, int quality) override;

 private:
  Screenshot& camera_;
  std::string folder_;
};

}  // namespace padwire::lin

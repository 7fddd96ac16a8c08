// A JPEG image of the whole virtual screen: GDI copies the pixels, WIC writes the file.
#pragma once

#include "platform/screenshot.h"

namespace padwire::win32 {

class Win32Screenshot final : public Screenshot {
 public:
  // The image goes to a temporary file beside `path` that replaces it only once it is whole,
  // so a failed shot leaves no partial file behind.
  bool save_jpeg(const std::string& path, int quality) override;
};

}  // namespace padwire::win32

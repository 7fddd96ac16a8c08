// A JPEG image of the whole virtual screen: GDI copies the pixels, WIC writes the file.
#pragma once

#include "platform/shell.h"

namespace padwire::win32 {

class Win32Screenshot final : public Screenshot {
 public:
  // The first three arguments belong to the classic capture library's call and are not used.
  // The image goes to a temporary file beside `path` that replaces it only once it is whole,
  // so a failed shot leaves no partial file behind.
  bool get_desktop(int a, int b, std::int16_t flag, int quality, const std::string& path) override;
};

}  // namespace padwire::win32

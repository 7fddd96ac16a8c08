// Resource ids of padwire.exe (padwire.rc.in).
#pragma once

namespace padwire::win32 {

inline constexpr int kIconResource = 1;
// The assignment dialog's pad picture: 32-bit BMP files with premultiplied alpha, at 96 dpi
// and at twice that.
inline constexpr int kPadPictureResource = 2;
inline constexpr int kPadPicture2xResource = 3;

}  // namespace padwire::win32

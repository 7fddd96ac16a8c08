// Where the emulator's installation records the command line that starts it: a text value in
// the machine's part of the Windows registry, which a reader takes through a 255-byte buffer
// (text of 254 bytes at most, with its NUL). The Windows program reads it there; the simulated
// platform reads its own registry the same way.
#pragma once

#include <cstddef>

namespace padwire {

inline constexpr const char* kEmulatorRecordKey =
    "SOFTWARE\\Connectix\\Connectix Virtual Game Station\\General";
inline constexpr const char* kEmulatorRecordValue = "Location";
inline constexpr std::size_t kEmulatorRecordBuffer = 255;

}  // namespace padwire

// Where the program keeps its settings: one application, the "Custom" section for the options,
// the remembered profile and the Custom key set, a list of key-set names, one section per set.
#pragma once

#include <array>
#include <cstdint>

namespace padwire::settings {

inline constexpr const char* kApp = "Padwire";
inline constexpr const char* kCustom = "Custom";
// The list is written as "Names" and read as "names"; the store ignores case.
inline constexpr const char* kNamesWrite = "Names";
inline constexpr const char* kNamesRead = "names";
inline constexpr int kMaxNames = 32;

inline constexpr const char* kSelect = "Select";
inline constexpr const char* kAutoFire = "AutoFire";
inline constexpr const char* kLogitech = "Logitech";
inline constexpr const char* kDeadZone = "DeadZone";
inline constexpr const char* kHatDirections = "HatDirections";
inline constexpr const char* kStandardLayout = "StandardLayout";
inline constexpr const char* kRumbleType = "RumbleType";
inline constexpr const char* kAutodetect = "Autodetect";
inline constexpr const char* kDos = "DOS";
inline constexpr const char* kLast = "Last";

// Values of "Last".
inline constexpr const char* kProfileSnes9x = "1";
inline constexpr const char* kProfileVgs = "2";
inline constexpr const char* kProfileCustom = "3";

// A stored key set's default code for each pad-button index, used for a missing key.
inline constexpr std::array<std::uint8_t, 14> kKeySetDefaults = {74, 73, 50, 75, 76, 48, 87,
                                                                 83, 65, 68, 78, 49, 57, 66};

}  // namespace padwire::settings

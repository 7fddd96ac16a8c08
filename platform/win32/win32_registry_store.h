// The settings store in the registry, where the classic runtime of this kind of program keeps
// application settings: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one REG_SZ value per key. The registry matches key and value names without regard to case,
// which the store's contract asks for, and settings written by earlier versions carry over.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/settings.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kSettingsRoot = L"Software\\VB and VBA Program Settings";

// The text of a REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first NUL; nothing when
// it is absent or of another type.
std::optional<std::wstring> read_string(HKEY key, const std::wstring& name);

class RegistrySettingsStore final : public SettingsStore {
 public:
  // Reads open the section's key for querying only, so a read never creates anything. An
  // application or section name that is empty or holds a backslash (which would address some
  // other key), a key that is empty, and text that is not valid UTF-8 are never looked up or
  // written: reads give the fallback and writes fail.
  //
  // What other programs or the user left there reads soundly and is never rewritten by a read:
  // a value of another type than REG_SZ and REG_EXPAND_SZ (a DWORD, binary data, a multi-string)
  // is no setting and reads as absent; REG_EXPAND_SZ is text, read as written without expanding
  // it (a setting is never a path). String data ends at its first NUL or at its end if it has
  // none, and UTF-16 that is not valid (an unpaired surrogate) reads with U+FFFD in its place.
  std::string get(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& fallback) override;
  bool save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;
};

}  // namespace padwire::win32

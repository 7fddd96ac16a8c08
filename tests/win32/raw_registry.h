// Registry values as the system holds them, a type and the bytes of the data: for tests that
// leave what other programs or users leave under the program's key, and check afterwards that
// nothing was rewritten. Every path is below HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace padwire::win32::test {

struct RawValue {
  DWORD type = REG_NONE;
  std::string data;
  friend bool operator==(const RawValue&, const RawValue&) = default;
};

// The bytes of UTF-16 text, with the terminating NUL unless `terminated` is false.
std::string utf16_bytes(std::wstring_view text, bool terminated = true);
template <typename Number>
std::string number_bytes(Number value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// Creates the key as needed; true when the value was written.
bool write_raw_value(const std::wstring& key, const std::wstring& name, const RawValue& value);
std::optional<RawValue> read_raw_value(const std::wstring& key, const std::wstring& name);
// Every value of the key and of its subkeys, named "subkey\name" below the key.
std::map<std::wstring, RawValue> raw_values_below(const std::wstring& key);

}  // namespace padwire::win32::test

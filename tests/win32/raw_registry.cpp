#include "raw_registry.h"

#include <vector>

namespace padwire::win32::test {

namespace {

// The longest key or value name the registry allows, and its NUL.
constexpr DWORD kNameCapacity = 16384;

std::optional<RawValue> query(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RawValue value{type, std::string(size, '\0')};
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

void collect(HKEY key, const std::wstring& prefix, std::map<std::wstring, RawValue>& out) {
  std::vector<wchar_t> name(kNameCapacity);
  for (DWORD i = 0;; ++i) {
    DWORD length = kNameCapacity;
    if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    if (auto value = query(key, name.data())) out[prefix + name.data()] = *value;
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = kNameCapacity;
    if (RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    HKEY subkey = nullptr;
    if (RegOpenKeyExW(key, name.data(), 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
    collect(subkey, prefix + name.data() + L"\\", out);
    RegCloseKey(subkey);
  }
}

}  // namespace

std::string utf16_bytes(std::wstring_view text, bool terminated) {
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  if (terminated) bytes.append(sizeof(wchar_t), '\0');
  return bytes;
}

bool write_raw_value(const std::wstring& key, const std::wstring& name, const RawValue& value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), value.type,
                         value.data.data(), static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

std::optional<RawValue> read_raw_value(const std::wstring& key, const std::wstring& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  auto value = query(opened, name.c_str());
  RegCloseKey(opened);
  return value;
}

std::map<std::wstring, RawValue> raw_values_below(const std::wstring& key) {
  std::map<std::wstring, RawValue> out;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return out;
  }
  collect(opened, L"", out);
  RegCloseKey(opened);
  return out;
}

}  // namespace padwire::win32::test

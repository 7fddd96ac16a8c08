#include "platform/win32/win32_registry_store.h"

#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

bool usable_name(const std::optional<std::wstring>& name) {
  return name && !name->empty() && name->find(L'\\') == std::wstring::npos;
}

// The section's key path, or nothing when the names cannot address one section.
std::optional<std::wstring> section_path(const std::string& app, const std::string& section) {
  const auto wide_app = to_wide(app);
  const auto wide_section = to_wide(section);
  if (!usable_name(wide_app) || !usable_name(wide_section)) return std::nullopt;
  return std::wstring(kSettingsRoot) + L"\\" + *wide_app + L"\\" + *wide_section;
}

}  // namespace

std::optional<std::wstring> read_string(HKEY key, const std::wstring& name) {
  // The size may grow between the two calls when another program writes the value.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    // The data need not end with a NUL, and may hold one before its end: text stops there.
    std::size_t length = size / sizeof(wchar_t);
    for (std::size_t i = 0; i < length; ++i) {
      if (buffer[i] == L'\0') {
        length = i;
        break;
      }
    }
    return std::wstring(buffer.data(), length);
  }
  return std::nullopt;
}

std::string RegistrySettingsStore::get(const std::string& app, const std::string& section,
                                       const std::string& key, const std::string& fallback) {
  const auto path = section_path(app, section);
  const auto name = to_wide(key);
  if (!path || !name || name->empty()) return fallback;
  RegistryKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, KEY_QUERY_VALUE, opened.out()) !=
      ERROR_SUCCESS) {
    return fallback;
  }
  const auto value = read_string(opened.get(), *name);
  return value ? to_utf8(*value) : fallback;
}

bool RegistrySettingsStore::save(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& value) {
  const auto path = section_path(app, section);
  const auto name = to_wide(key);
  const auto text = to_wide(value);
  if (!path || !name || name->empty() || !text) return false;
  if (text->find(L'\0') != std::wstring::npos) return false;  // would be cut short on reading
  RegistryKey created;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, created.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto bytes = static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(created.get(), name->c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text->c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace padwire::win32

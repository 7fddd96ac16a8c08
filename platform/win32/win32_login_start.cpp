#include "platform/win32/win32_login_start.h"

#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_registry_store.h"

namespace padwire::win32 {

namespace {

constexpr const wchar_t* kApprovedKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Task Manager marks an entry it switched off with an odd first byte.
bool switched_off() {
  BYTE mark[12] = {};
  DWORD size = sizeof mark;
  return RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, kRunValue, RRF_RT_REG_BINARY, nullptr, mark,
                      &size) == ERROR_SUCCESS &&
         size > 0 && (mark[0] & 1) != 0;
}

bool succeeded_or_absent(LSTATUS status) {
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::wstring program_of_command(std::wstring_view command) {
  if (!command.empty() && command.front() == L'"') {
    command.remove_prefix(1);
    return std::wstring(command.substr(0, command.find(L'"')));
  }
  return std::wstring(command.substr(0, command.find_first_of(L" \t")));
}

bool starts_at_log_on(const std::wstring& program) {
  RegistryKey run;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, run.out()) != ERROR_SUCCESS) {
    return false;
  }
  const auto command = read_string(run.get(), kRunValue);
  if (!command) return false;
  const std::wstring started = program_of_command(*command);
  return !program.empty() &&
         CompareStringOrdinal(started.c_str(), static_cast<int>(started.size()), program.c_str(),
                              static_cast<int>(program.size()), TRUE) == CSTR_EQUAL &&
         !switched_off();
}

bool set_start_at_log_on(const std::wstring& program, bool start) {
  // A switch-off of an earlier entry would keep the new one from starting.
  const bool mark_gone =
      succeeded_or_absent(RegDeleteKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kRunValue));
  if (!start) {
    return succeeded_or_absent(RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue)) &&
           mark_gone;
  }
  if (program.empty() || program.find(L'"') != std::wstring::npos) return false;
  const std::wstring command = L"\"" + program + L"\" --login";
  RegistryKey run;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, run.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(run.get(), kRunValue, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()), bytes) == ERROR_SUCCESS &&
         mark_gone;
}

}  // namespace padwire::win32

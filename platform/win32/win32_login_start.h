// Starting the program at log-on: the value "Padwire" of the user's Run key, which holds the
// quoted path of padwire.exe and --login. Task Manager's switch for such an entry (a mark under
// Explorer\StartupApproved\Run) counts: a switched-off entry starts nothing.
#pragma once

#include <string>
#include <string_view>

namespace padwire::win32 {

inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValue = L"Padwire";

// The program a command line starts: its first argument, without the quotes around it.
std::wstring program_of_command(std::wstring_view command);

// Whether the entry exists, is switched on and starts `program` (compared without regard to
// case, as Windows compares paths).
bool starts_at_log_on(const std::wstring& program);
// Writes the entry for `program` (and clears a switch-off), or removes it.
bool set_start_at_log_on(const std::wstring& program, bool start);

}  // namespace padwire::win32

#include "scripted_pad.h"

#include <sstream>

#include "test_support.h"

namespace padwire::e2e {

ScriptedPad::ScriptedPad(const std::wstring& folder)
    : script_(folder + L"\\pad.txt"), log_(folder + L"\\pad.log") {
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD", script_.c_str());
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_LOG", log_.c_str());
  const std::wstring event = win32::test::unique_name(L"PadwireFakePadChanged");
  changed_ = CreateEventW(nullptr, FALSE, FALSE, event.c_str());
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_EVENT", event.c_str());
  hold({});
}

ScriptedPad::~ScriptedPad() {
  if (changed_) CloseHandle(changed_);
}

void ScriptedPad::describe(const std::string& lines) {
  device_ = lines;
  write();
}

void ScriptedPad::hold(std::initializer_list<int> buttons, long x, long y, unsigned long pov) {
  std::ostringstream state;
  state << "x " << x << "\ny " << y << "\npov " << pov << "\n";
  if (buttons.size() > 0) {
    state << "held ";
    const char* separator = "";
    for (int b : buttons) {
      state << separator << b;
      separator = ",";
    }
    state << "\n";
  }
  state_ = state.str();
  write();
}

void ScriptedPad::pull_triggers(int left, int right) {
  triggers_ = "triggers " + std::to_string(left) + " " + std::to_string(right) + "\n";
  write();
}

void ScriptedPad::lose(bool lost) {
  lost_ = lost;
  write();
}

void ScriptedPad::plug(bool plugged) {
  unplugged_ = !plugged;
  write();
}

// Written beside the script and renamed over it, so that the DLL never reads half a state; a
// short pause first gives every state a modification time of its own.
void ScriptedPad::write() {
  Sleep(15);
  const std::wstring staging = script_ + L".new";
  HANDLE file = CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = device_ + state_ + triggers_ + (lost_ ? "lost 1\n" : "lost 0\n") +
                           (unplugged_ ? "device unplugged\n" : "");
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(staging.c_str(), script_.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (changed_) SetEvent(changed_);
}

std::string ScriptedPad::log() const {
  std::string text;
  for (unsigned char c : win32::test::read_file(log_)) {
    if (c != '\r') text.push_back(static_cast<char>(c));
  }
  return text;
}

int ScriptedPad::count_in_log(const std::string& line) const {
  std::istringstream lines(log());
  int count = 0;
  for (std::string l; std::getline(lines, l);) count += l == line ? 1 : 0;
  return count;
}

int ScriptedPad::scroll_lock() const {
  const std::string text = log();
  const std::size_t at = text.rfind("scroll lock ");
  if (at == std::string::npos || at + 12 >= text.size()) return -1;
  return text[at + 12] - '0';
}

}  // namespace padwire::e2e

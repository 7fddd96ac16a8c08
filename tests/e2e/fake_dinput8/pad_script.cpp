#include "pad_script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace padwire::e2e {

std::string env(const char* name) {
  char buffer[1024];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void log(const char* text) {
  const std::string path = env("PADWIRE_FAKE_PAD_LOG");
  if (path.empty()) return;
  const std::string line = std::string(text) + "\n";
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(2);
  }
}

namespace {

void rest(DIJOYSTATE2& state) {
  state.lX = state.lY = 32768;
  for (DWORD& pov : state.rgdwPOV) pov = 0xFFFFFFFFu;
}

// The mapping is made by whichever side comes first; a fresh one holds a pad at rest.
SharedPad* open_shared(const std::string& name) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(SharedPad), name.c_str());
  if (!mapping) return nullptr;
  const bool fresh = GetLastError() != ERROR_ALREADY_EXISTS;
  auto* pad =
      static_cast<SharedPad*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedPad)));
  if (pad && fresh) rest(pad->state);
  return pad;  // the mapping stays open for the life of the process
}

}  // namespace

SharedPad* shared_pad() {
  static SharedPad* const shared = [] {
    const std::string name = env(kSharedPadVariable);
    return name.empty() ? nullptr : open_shared(name);
  }();
  return shared;
}

void read_shared(SharedPad& shared, Script& script) {
  for (;;) {
    const LONG before = shared.sequence;
    MemoryBarrier();
    std::memcpy(&script.state, const_cast<DIJOYSTATE2*>(&shared.state), sizeof script.state);
    MemoryBarrier();
    if ((before & 1) == 0 && shared.sequence == before) break;
    YieldProcessor();
  }
  script.xinput = shared.xinput != 0;
}

bool read_script_file(Script& script, FILETIME& stamp) {
  const std::string path = env("PADWIRE_FAKE_PAD");
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return false;
  }
  if (CompareFileTime(&data.ftLastWriteTime, &stamp) == 0 && stamp.dwLowDateTime != 0) {
    return false;
  }
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return false;
  Script s;
  rest(s.state);
  char line[512];
  while (std::fgets(line, sizeof line, f)) {
    char word[32] = {};
    char rest_of_line[480] = {};
    if (std::sscanf(line, "%31s %479[^\r\n]", word, rest_of_line) < 1) continue;
    const std::string w = word, r = rest_of_line;
    if (w == "create")
      s.create_ok = r == "ok";
    else if (w == "device") {
      s.present = r == "present";
      s.unplugged = r == "unplugged";
    } else if (w == "phantom")
      s.phantom = r == "yes";
    else if (w == "name")
      s.name = r;
    else if (w == "vendor")
      s.vendor = static_cast<WORD>(std::strtoul(rest_of_line, nullptr, 16));
    else if (w == "product")
      s.product = static_cast<WORD>(std::strtoul(rest_of_line, nullptr, 16));
    else if (w == "xinput")
      s.xinput = r == "yes";
    else if (w == "buttons")
      s.buttons = std::atoi(rest_of_line);
    else if (w == "effects")
      s.effects = r == "yes";
    else if (w == "polled")
      s.polled = r == "yes";
    else if (w == "lost")
      s.lost = r == "1";
    else if (w == "x")
      s.state.lX = std::atol(rest_of_line);
    else if (w == "y")
      s.state.lY = std::atol(rest_of_line);
    else if (w == "pov")
      s.state.rgdwPOV[0] = static_cast<DWORD>(std::strtoul(rest_of_line, nullptr, 10));
    else if (w == "triggers") {
      int left = 0, right = 0;
      std::sscanf(rest_of_line, "%d %d", &left, &right);
      s.triggers[0] = static_cast<BYTE>(std::clamp(left, 0, 255));
      s.triggers[1] = static_cast<BYTE>(std::clamp(right, 0, 255));
      s.state.lZ = 32768 + (s.triggers[0] - s.triggers[1]) * 128;
    } else if (w == "held") {
      for (char* p = std::strtok(rest_of_line, ","); p; p = std::strtok(nullptr, ",")) {
        const int b = std::atoi(p);
        if (b >= 0 && b < 128) s.state.rgbButtons[b] = 128;
      }
    }
  }
  std::fclose(f);
  script = s;
  stamp = data.ftLastWriteTime;
  return true;
}

}  // namespace padwire::e2e

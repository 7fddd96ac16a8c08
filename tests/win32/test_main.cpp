// The test program's entry point: GoogleTest with wide arguments, as Wine passes them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  // Started by a test as a program to launch, it only writes its own path to the file named
  // in PADWIRE_TEST_STARTED_MARK, so the test sees which program was started.
  wchar_t mark[MAX_PATH] = {};
  const DWORD mark_length = GetEnvironmentVariableW(L"PADWIRE_TEST_STARTED_MARK", mark, MAX_PATH);
  if (mark_length > 0 && mark_length < MAX_PATH) {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    HANDLE file = CreateFileW(mark, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, self, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

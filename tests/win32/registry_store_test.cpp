// The settings store in the registry, under a throw-away application name per test.
#include <gtest/gtest.h>

#include "platform/win32/win32_registry_store.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

using test::narrow;

class RegistryStore : public testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, app_key().c_str()); }

  std::wstring app_key() const { return std::wstring(kSettingsRoot) + L"\\" + wide_app_; }
  bool key_exists(const std::wstring& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  const std::wstring wide_app_ = test::unique_name(L"PadwireTest");
  const std::string app = narrow(wide_app_);
  RegistrySettingsStore store;
};

TEST_F(RegistryStore, WhatIsSavedReadsBackInThisAndALaterStore) {
  ASSERT_TRUE(store.save(app, "Custom", "RumbleType", "3"));
  EXPECT_EQ(store.get(app, "Custom", "RumbleType", "2"), "3");
  ASSERT_TRUE(store.save(app, "Custom", "RumbleType", "1"));  // replaces
  EXPECT_EQ(RegistrySettingsStore().get(app, "Custom", "RumbleType", "2"), "1");
}

TEST_F(RegistryStore, ValuesAreOneStringPerKeyUnderTheSectionsKey) {
  ASSERT_TRUE(store.save(app, "Custom", "Last", "2"));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (app_key() + L"\\Custom").c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = 0;
  wchar_t data[16] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExW(key, L"Last", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"2");
}

TEST_F(RegistryStore, SectionsAndKeysIgnoreCase) {
  ASSERT_TRUE(store.save(app, "Names", "1", "Doom"));
  ASSERT_TRUE(store.save(app, "Custom", "AutoFire", "False"));
  EXPECT_EQ(store.get(app, "names", "1", ""), "Doom");
  EXPECT_EQ(store.get(app, "CUSTOM", "autofire", "True"), "False");
  ASSERT_TRUE(store.save(app, "custom", "AUTOFIRE", "True"));  // the same value
  EXPECT_EQ(store.get(app, "Custom", "AutoFire", ""), "True");
}

TEST_F(RegistryStore, AbsentApplicationSectionOrKeyGivesTheFallbackAndCreatesNothing) {
  EXPECT_EQ(store.get(app, "Custom", "Select", "True"), "True");
  EXPECT_FALSE(key_exists(app_key()));
  ASSERT_TRUE(store.save(app, "Custom", "Select", "False"));
  EXPECT_EQ(store.get(app, "Other", "Select", "fallback"), "fallback");
  EXPECT_EQ(store.get(app, "Custom", "Missing", ""), "");
  EXPECT_FALSE(key_exists(app_key() + L"\\Other"));
}

TEST_F(RegistryStore, ValuesWrittenByAnotherProgramReadBack) {
  // An earlier version wrote its settings through the ANSI registry calls.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (narrow(app_key()) + "\\Custom").c_str(), 0, nullptr,
                            0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char text[] = "True";
  RegSetValueExA(key, "DOS", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  // Data without its terminating NUL, as some programs write it.
  RegSetValueExW(key, L"Last", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"13"),
                 2 * sizeof(wchar_t));
  const DWORD number = 5;
  RegSetValueExW(key, L"RumbleType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  RegCloseKey(key);
  EXPECT_EQ(store.get(app, "custom", "dos", "False"), "True");
  EXPECT_EQ(store.get(app, "Custom", "Last", "2"), "13");
  // A value that is not text is not a stored setting.
  EXPECT_EQ(store.get(app, "Custom", "RumbleType", "2"), "2");
}

TEST_F(RegistryStore, TextOutsideAsciiRoundTrips) {
  const std::string name = "Fran\xC3\xA7ois \xE2\x80\x94 \xF0\x9F\x8E\xAE";  // ç, dash, a pad emoji
  ASSERT_TRUE(store.save(app, name, "0", name));
  EXPECT_EQ(store.get(app, name, "0", ""), name);
  EXPECT_EQ(store.save(app, "Custom", "Long", std::string(5000, 'x')), true);
  EXPECT_EQ(store.get(app, "Custom", "Long", "").size(), 5000u);
  ASSERT_TRUE(store.save(app, "Custom", "Empty", ""));
  EXPECT_EQ(store.get(app, "Custom", "Empty", "fallback"), "");
}

TEST_F(RegistryStore, NamesThatCannotAddressOneSectionAreRefused) {
  struct Case {
    std::string section, key, value;
  };
  const Case cases[] = {
      {"Nested\\Section", "0", "74"},  // a backslash would address another key
      {"", "0", "74"},
      {"Custom", "", "74"},      // the key's default value is not a setting
      {"Bad\xFF", "0", "74"},    // not UTF-8
      {"Custom", "0", "7\xC3"},  // cut-off UTF-8 sequence
      {"Custom", "0",
       std::string("7\0"
                   "4",
                   3)},  // would read back cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "section \"" << c.section << "\" key \"" << c.key << "\"");
    EXPECT_FALSE(store.save(app, c.section, c.key, c.value));
    EXPECT_EQ(store.get(app, c.section, c.key, "fallback"), "fallback");
  }
  EXPECT_FALSE(key_exists(app_key() + L"\\Nested"));
  EXPECT_FALSE(store.save("", "Custom", "0", "74"));
  EXPECT_FALSE(store.save("Pad\\wire", "Custom", "0", "74"));
}

}  // namespace
}  // namespace padwire::win32

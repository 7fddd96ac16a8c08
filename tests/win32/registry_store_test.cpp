// The settings store in the registry, under a throw-away application name per test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_registry_store.h"
#include "platform/win32/win32_text.h"
#include "raw_registry.h"
#include "stored_shapes.h"
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

TEST_F(RegistryStore, TextOfEveryShapeIsOneStringValueOrRefusedWhole) {
  const std::wstring section = app_key() + L"\\Custom";
  for (const auto& shape : padwire::test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    // Text that a string value cannot hold exactly is not written at all.
    EXPECT_EQ(store.save(app, "Custom", "Value", shape.text), shape.unicode);
    EXPECT_EQ(store.get(app, "custom", "VALUE", "fallback"),
              shape.unicode ? shape.text : "fallback");
    if (shape.unicode) {
      EXPECT_EQ(test::read_raw_value(section, L"Value"),
                (test::RawValue{REG_SZ, test::utf16_bytes(*to_wide(shape.text))}));
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Value");
  }
}

TEST_F(RegistryStore, ValuesOfEveryTypeReadAsTheirTextOrAsAbsentAndStayAsTheyAre) {
  using test::number_bytes;
  using test::utf16_bytes;
  struct Case {
    const char* label;
    test::RawValue value;
    const char* text;  // null: the value reads as absent
  };
  const std::string long_text(65536, '7');
  const std::vector<Case> cases = {
      {"string", {REG_SZ, utf16_bytes(L"75")}, "75"},
      {"string without its NUL", {REG_SZ, utf16_bytes(L"13", false)}, "13"},
      {"string of no bytes", {REG_SZ, ""}, ""},
      {"string of an odd byte count", {REG_SZ, utf16_bytes(L"75", false).substr(0, 3)}, "7"},
      {"string with a NUL inside", {REG_SZ, utf16_bytes(std::wstring(L"75\0x", 4))}, "75"},
      {"string with an unpaired surrogate",
       {REG_SZ, utf16_bytes(L"\xD800\x35")},
       "\xEF\xBF\xBD\x35"},
      {"string of 64 KiB", {REG_SZ, utf16_bytes(std::wstring(65536, L'7'))}, long_text.c_str()},
      // Text, read as written: a setting is never a path, so nothing is expanded.
      {"expandable string", {REG_EXPAND_SZ, utf16_bytes(L"%SystemRoot%")}, "%SystemRoot%"},
      {"multi-string", {REG_MULTI_SZ, utf16_bytes(std::wstring(L"75\0", 3))}, nullptr},
      {"DWORD", {REG_DWORD, number_bytes<DWORD>(75)}, nullptr},
      {"big-endian DWORD", {REG_DWORD_BIG_ENDIAN, number_bytes<DWORD>(75)}, nullptr},
      {"QWORD", {REG_QWORD, number_bytes<ULONGLONG>(75)}, nullptr},
      {"binary", {REG_BINARY, utf16_bytes(L"75")}, nullptr},
      {"no type", {REG_NONE, utf16_bytes(L"75")}, nullptr},
  };
  const std::wstring section = app_key() + L"\\Custom";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(test::write_raw_value(section, L"RumbleType", c.value));
    // As the registry keeps it (Wine ends a string written without its NUL with one).
    const auto stored = test::read_raw_value(section, L"RumbleType");
    ASSERT_TRUE(stored && stored->type == c.value.type);
    EXPECT_EQ(store.get(app, "Custom", "RumbleType", "fallback"), c.text ? c.text : "fallback");
    EXPECT_EQ(test::read_raw_value(section, L"RumbleType"), stored);
  }
  // An earlier version wrote its settings through the ANSI registry calls.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const char text[] = "True";
  RegSetValueExA(key, "DOS", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  RegCloseKey(key);
  EXPECT_EQ(store.get(app, "custom", "dos", "False"), "True");
}

TEST_F(RegistryStore, SectionNamesOutsideAsciiRoundTrip) {
  const std::string name = "Fran\xC3\xA7ois \xE2\x80\x94 \xF0\x9F\x8E\xAE";  // ç, dash, a pad emoji
  ASSERT_TRUE(store.save(app, name, "0", name));
  EXPECT_EQ(store.get(app, name, "0", ""), name);
}

TEST_F(RegistryStore, NamesThatCannotAddressOneSectionAreRefused) {
  struct Case {
    std::string section, key, value;
  };
  const std::vector<Case> cases = {
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

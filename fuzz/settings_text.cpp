// The settings file's text: any bytes either parse or are refused, and a tree that parsed is
// written out as text that reads back as the same tree, and that text is written out again
// unchanged.
#include "fuzz/fuzz_support.h"
#include "platform/linux/linux_settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace padwire;
  const std::optional<lin::SettingsTree> tree = lin::parse_settings(fuzz::as_text(data, size));
  if (!tree) return 0;
  const std::string text = lin::format_settings(*tree);
  const std::optional<lin::SettingsTree> again = lin::parse_settings(text);
  fuzz::expect(again.has_value(), "written text parses");
  fuzz::expect(*again == *tree, "written text reads back as the same tree");
  fuzz::expect(lin::format_settings(*again) == text, "writing is stable");
  return 0;
}

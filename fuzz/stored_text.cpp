// Stored settings text of any shape: each conversion gives a value or nothing, the conversions
// agree on the numbers they share, and a key set stored as such text loads each variable with its
// key code or leaves it as it was.
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "shell/settings_schema.h"
#include "shell/text_conversions.h"

namespace padwire::fuzz {
namespace {

void check_conversions(std::string_view text) {
  const auto boolean = text_to_boolean(text);
  const auto integer = text_to_int16(text);
  const auto key_code = text_to_key_code(text);
  expect(key_code.has_value() == (integer && *integer >= 0 && *integer <= 255),
         "a key code is exactly a 16-bit reading within 0..255");
  if (key_code) expect(*key_code == *integer, "a key code equals the 16-bit reading");
  // Rounding may make a small number 0, never a zero number something else.
  if (integer) expect(boolean && (*integer == 0 || *boolean), "a 16-bit reading is a Boolean");
}

// The input's lines are the stored values "0", "1", ... of one key set; missing entries fall back
// to the set's defaults.
void check_key_set(const std::string& input) {
  sim::Session& session = started_session();
  FormPadwire& form = session.form({});
  const std::string set = "Fuzz";
  session.world().store = sim::MemoryStore{};
  std::array<std::optional<std::string>, kPadButtonCount> stored;
  std::size_t start = 0;
  for (int index = 0; index < kPadButtonCount && start <= input.size(); ++index) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    stored[index] = input.substr(start, end - start);
    session.world().store.put(settings::kApp, set, std::to_string(index), *stored[index]);
    start = end + 1;
  }
  for (int index = 0; index < kPadButtonCount; ++index) pad_key(form.engine.keys, index) = 7;

  form.LoadKeySet(set);

  for (int index = 0; index < kPadButtonCount; ++index) {
    const std::string text =
        stored[index].value_or(std::to_string(settings::kKeySetDefaults[index]));
    const auto code = text_to_key_code(text);
    expect(pad_key(form.engine.keys, index) == code.value_or(7),
           "a loaded key is the stored key code, or the previous one");
  }
}

}  // namespace
}  // namespace padwire::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = padwire::fuzz::as_text(data, size);
  padwire::fuzz::check_conversions(text);
  padwire::fuzz::check_key_set(text);
  return 0;
}

// Keystroke strings of any bytes: a string either fails with no strokes or gives at most the
// stroke limit, and every key it presses is released again, so no key is left held.
#include "platform/common/sendkeys.h"

#include <array>
#include <string_view>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace padwire;
  const std::string keys = fuzz::as_text(data, size);
  const SendKeysResult result = parse_sendkeys(keys);
  if (!result.ok()) {
    fuzz::expect(result.strokes.empty(), "a failed string gives no strokes");
    return 0;
  }
  fuzz::expect(result.strokes.size() <= kMaxSendKeysStrokes, "at most the stroke limit");
  std::array<int, 256> held{};
  for (const KeyStroke& stroke : result.strokes) {
    fuzz::expect(stroke.vk != 0, "every stroke names a key");
    int& depth = held[stroke.vk];
    depth += stroke.key_up ? -1 : 1;
    fuzz::expect(depth >= 0, "a key goes up only after it went down");
  }
  for (const int depth : held) fuzz::expect(depth == 0, "every key is released at the end");
  return 0;
}

// UTF-8 (the core's text) <-> UTF-16 (the W APIs), converted at the back end's edge.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace padwire::win32 {

// Nothing when the text is not valid UTF-8: such text must not reach the system half-converted.
std::optional<std::wstring> to_wide(std::string_view text);
// Invalid UTF-8 becomes U+FFFD, for text that is only shown (captions, messages).
std::wstring to_wide_lossy(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string to_utf8(std::wstring_view text);

}  // namespace padwire::win32

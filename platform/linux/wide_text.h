#pragma once
// The program's wide texts (UTF-32 on Linux) as the UTF-8 that files, GLib
// and X use. Strict both ways, so that what cannot be carried is refused
// rather than stored mangled.
#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

// nullopt when the text holds no valid Unicode (a surrogate, a value beyond U+10FFFF).
std::optional<std::string> toUtf8(std::wstring_view text);
// nullopt when the bytes are not valid UTF-8.
std::optional<std::wstring> fromUtf8(std::string_view text);
// Each invalid byte becomes U+FFFD, for names that need not be UTF-8 (file names).
std::wstring fromUtf8Lossy(std::string_view text);

}  // namespace platform::posix

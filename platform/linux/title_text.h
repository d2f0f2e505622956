#pragma once
// Window titles on X11 are UTF-8 (or text that Xlib turns into UTF-8). The
// desktop interface hands a title over as if it had been read into a buffer
// of 256 characters filled with spaces beforehand.
#include <string>
#include <string_view>

namespace platform::x11 {

// At most 255 characters of the title, a NUL, then spaces up to 256. Bytes
// that are not UTF-8 become U+FFFD.
std::wstring utf8TitleBuffer(std::string_view utf8);

}  // namespace platform::x11

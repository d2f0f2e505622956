#pragma once
// The model's wide texts to and from GTK's UTF-8, by the one strict rule of
// wide_text.h: what is not valid Unicode or UTF-8 gives an empty text.
#include <cstring>
#include <string>
#include <string_view>

#include "platform/linux/wide_text.h"

namespace platform::gtk {

inline std::string toUtf8(const std::wstring& text) { return posix::toUtf8(text).value_or(std::string()); }

// Invalid UTF-8 (from another program's clipboard) gives an empty text.
inline std::wstring fromUtf8(const char* text, long length = -1) {
    const std::size_t size = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    return posix::fromUtf8(std::string_view(text, size)).value_or(std::wstring());
}

}  // namespace platform::gtk

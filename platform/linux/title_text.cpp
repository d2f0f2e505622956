#include "platform/linux/title_text.h"

#include <cstdint>

namespace platform::x11 {

static_assert(sizeof(wchar_t) == 4, "a title character is one wchar_t");

namespace {

constexpr std::size_t bufferLength = 256;
constexpr wchar_t replacement = 0xFFFD;

// The character starting at `at`, and moves `at` past it.
wchar_t decodeOne(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at++);
    if (lead < 0x80) return lead;
    std::size_t length;
    std::uint32_t code;
    if ((lead & 0xE0) == 0xC0) length = 1, code = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) length = 2, code = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) length = 3, code = lead & 0x07;
    else return replacement;
    for (std::size_t i = 0; i < length; ++i) {
        if (at >= text.size() || (byte(at) & 0xC0) != 0x80) return replacement;
        code = (code << 6) | (byte(at++) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    constexpr std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return replacement;
    return static_cast<wchar_t>(code);
}

}  // namespace

std::wstring utf8TitleBuffer(std::string_view utf8) {
    std::wstring buffer;
    for (std::size_t at = 0; at < utf8.size() && buffer.size() < bufferLength - 1;) buffer += decodeOne(utf8, at);
    buffer += L'\0';
    buffer.resize(bufferLength, L' ');
    return buffer;
}

}  // namespace platform::x11

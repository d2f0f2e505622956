#include "platform/linux/wide_text.h"

namespace platform::posix {

namespace {

static_assert(sizeof(wchar_t) == 4, "wide texts are UTF-32 here");

bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// The character that starts at text[at], advancing at past it; nullopt (at
// unchanged) for a sequence that is not the shortest form of a scalar value.
std::optional<char32_t> decodeOne(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return char32_t{lead};
    }
    // The lead byte tells the length and the first bits.
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4) return std::nullopt;
    char32_t c = lead & (0x7F >> length);
    if (text.size() - at < static_cast<std::size_t>(length)) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < shortest[length] || !isScalarValue(c)) return std::nullopt;
    at += static_cast<std::size_t>(length);
    return c;
}

}  // namespace

std::optional<std::string> toUtf8(std::wstring_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const wchar_t wide : text) {
        const auto c = static_cast<char32_t>(wide);
        if (!isScalarValue(c)) return std::nullopt;
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::optional<std::wstring> fromUtf8(std::string_view text) {
    std::wstring wide;
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = decodeOne(text, at);
        if (!c) return std::nullopt;
        wide += static_cast<wchar_t>(*c);
    }
    return wide;
}

std::wstring fromUtf8Lossy(std::string_view text) {
    std::wstring wide;
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = decodeOne(text, at);
        if (c) {
            wide += static_cast<wchar_t>(*c);
        } else {
            wide += L'\uFFFD';
            ++at;
        }
    }
    return wide;
}

}  // namespace platform::posix

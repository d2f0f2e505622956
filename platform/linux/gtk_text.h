#pragma once
// The model's wide texts (UTF-32 on Linux) to and from GTK's UTF-8.
#include <glib.h>

#include <memory>
#include <string>

namespace platform::gtk {

static_assert(sizeof(wchar_t) == sizeof(gunichar));

inline std::string toUtf8(const std::wstring& text) {
    const std::unique_ptr<gchar, decltype(&g_free)> utf8(
        g_ucs4_to_utf8(reinterpret_cast<const gunichar*>(text.c_str()), static_cast<glong>(text.size()), nullptr,
                       nullptr, nullptr),
        &g_free);
    return utf8 ? std::string(utf8.get()) : std::string();
}

// Invalid UTF-8 (from another program's clipboard) gives an empty text.
inline std::wstring fromUtf8(const char* text, gssize length = -1) {
    glong count = 0;
    const std::unique_ptr<gunichar, decltype(&g_free)> ucs4(g_utf8_to_ucs4(text, length, nullptr, &count, nullptr),
                                                            &g_free);
    return ucs4 ? std::wstring(reinterpret_cast<const wchar_t*>(ucs4.get()), static_cast<std::size_t>(count))
                : std::wstring();
}

}  // namespace platform::gtk

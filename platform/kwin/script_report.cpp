#include "platform/kwin/script_report.h"

#include <charconv>
#include <cmath>
#include <map>

#include "platform/rectangles.h"

namespace platform::kwin {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> uriDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

// KWin hands out logical pixels, which Plasma 6 keeps as fractions under a
// fractional scale: they are rounded to the nearest pixel.
std::optional<std::int64_t> wholeNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    if (std::fabs(value) > 1e15) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(value));
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// x,y,width,height each, as many as `count`.
std::optional<std::vector<Rect>> rectangles(std::string_view text, std::size_t count) {
    const std::vector<std::string_view> parts = split(text, ',');
    if (parts.size() != 4 * count) return std::nullopt;
    std::vector<Rect> found;
    for (std::size_t i = 0; i < parts.size(); i += 4) {
        std::optional<std::int64_t> n[4];
        for (int k = 0; k < 4; ++k)
            if (!(n[k] = wholeNumber(parts[i + k]))) return std::nullopt;
        if (*n[2] < 0 || *n[3] < 0) return std::nullopt;
        const std::optional<Rect> r = rectangleWithin32Bits(*n[0], *n[1], *n[0] + *n[2], *n[1] + *n[3]);
        if (!r) return std::nullopt;
        found.push_back(*r);
    }
    return found;
}

std::optional<ShowState> stateNamed(const std::string& name) {
    if (name == "normal") return showNormal;
    if (name == "minimized") return showMinimized;
    if (name == "maximized") return showMaximized;
    return std::nullopt;
}

std::optional<WindowKind> kindNamed(const std::string& name) {
    if (name == "ordinary") return WindowKind::ordinary;
    if (name == "desktop") return WindowKind::desktop;
    if (name == "panel") return WindowKind::panel;
    return std::nullopt;
}

using Fields = std::multimap<std::string, std::string>;

std::optional<Fields> fieldsOf(std::string_view text) {
    Fields fields;
    for (const std::string_view pair : split(text, '&')) {
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        std::optional<std::string> value = uriDecoded(pair.substr(equals + 1));
        if (!value) return std::nullopt;
        fields.emplace(std::string(pair.substr(0, equals)), std::move(*value));
    }
    return fields;
}

// The one value of a field that may appear once; nullopt when it is missing
// or repeated.
std::optional<std::string> single(const Fields& fields, const std::string& key) {
    if (fields.count(key) != 1) return std::nullopt;
    return fields.find(key)->second;
}

std::optional<ScriptWindow> windowOf(const Fields& fields) {
    const std::optional<std::string> id = single(fields, "id"), pid = single(fields, "pid"),
                                     caption = single(fields, "caption"), frame = single(fields, "frame"),
                                     state = single(fields, "state"), kind = single(fields, "kind");
    if (!id || !pid || !caption || !frame || !state || !kind || !isWindowId(*id)) return std::nullopt;
    const std::optional<std::int64_t> pidNumber = wholeNumber(*pid);
    const std::optional<std::vector<Rect>> rect = rectangles(*frame, 1);
    const std::optional<ShowState> show = stateNamed(*state);
    const std::optional<WindowKind> windowKind = kindNamed(*kind);
    if (!pidNumber || !fitsInt32(*pidNumber) || *pidNumber < 0 || !rect || !show || !windowKind)
        return std::nullopt;
    return ScriptWindow{*id, static_cast<std::int32_t>(*pidNumber), *caption, rect->front(), *show, *windowKind};
}

}  // namespace

bool isWindowId(std::string_view id) {
    // With braces as Qt writes a UUID, or without.
    if (id.size() == 38 && id.front() == '{' && id.back() == '}') id = id.substr(1, 36);
    if (id.size() != 36) return false;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? id[i] != '-' : hexValue(id[i]) < 0) return false;
    }
    return true;
}

std::optional<ScriptReport> readReport(std::string_view text) {
    const std::optional<Fields> fields = fieldsOf(text);
    if (!fields) return std::nullopt;
    const std::optional<std::string> serial = single(*fields, "serial"), active = single(*fields, "active");
    if (!serial || !active || (!active->empty() && !isWindowId(*active))) return std::nullopt;
    const std::optional<std::int64_t> serialNumber = wholeNumber(*serial);
    if (!serialNumber || *serialNumber < 0 || *serialNumber > 0xFFFFFFFF) return std::nullopt;

    ScriptReport report{static_cast<std::uint32_t>(*serialNumber), *active, {}, std::nullopt};
    const auto [first, last] = fields->equal_range("screen");
    for (auto screen = first; screen != last; ++screen) {
        const std::optional<std::vector<Rect>> areas = rectangles(screen->second, 2);
        if (!areas) return std::nullopt;
        report.monitors.push_back({(*areas)[0], (*areas)[1]});
    }
    if (fields->count("id") != 0) {
        report.window = windowOf(*fields);
        if (!report.window) return std::nullopt;
    }
    return report;
}

}  // namespace platform::kwin

#include "platform/kwin/script_text.h"

#include "platform/kwin/script_report.h"

namespace platform::kwin {

namespace {

constexpr std::string_view setupPlace = "/*@SETUP@*/ null";

// A string literal of both JavaScript and JSON: anything but plain letters,
// digits and a few marks is written as an escape, so no value can end it.
std::string literal(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == ':' || c == '/' || c == '_' || c == '-' || c == '{' || c == '}';
        if (plain) {
            quoted += c;
        } else {
            quoted += "\\u00";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0xF];
        }
    }
    return quoted + "\"";
}

const char* kindName(CommandKind kind) {
    switch (kind) {
        case CommandKind::query: return "query";
        case CommandKind::apply: return "apply";
        case CommandKind::forget: return "forget";
    }
    return "";
}

// A restore and a normal show both end in the normal state.
const char* showName(ShowState show) {
    switch (show) {
        case showMinimized: return "minimized";
        case showMaximized: return "maximized";
        case showNormal:
        case showRestore: return "normal";
    }
    return "normal";
}

}  // namespace

std::optional<std::string> scriptText(std::string_view shipped, const CallBack& callBack) {
    const std::size_t at = shipped.find(setupPlace);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string setup = "{service: " + literal(callBack.service) + ", path: " + literal(callBack.path) +
                              ", token: " + literal(callBack.token) + "}";
    std::string text(shipped);
    text.replace(at, setupPlace.size(), setup);
    return text;
}

std::optional<std::string> commandText(const ScriptCommand& command) {
    std::string text = "{\"kind\": " + literal(kindName(command.kind));
    if (command.kind == CommandKind::forget) return text + "}";
    if (!isWindowId(command.windowId)) return std::nullopt;
    text += ", \"serial\": " + std::to_string(command.serial) + ", \"window\": " + literal(command.windowId);
    if (command.kind == CommandKind::apply) {
        const Rect& r = command.frame;
        text += ", \"show\": " + literal(showName(command.show)) + ", \"x\": " + std::to_string(r.left) +
                ", \"y\": " + std::to_string(r.top) +
                ", \"width\": " + std::to_string(std::int64_t{r.right} - r.left) +
                ", \"height\": " + std::to_string(std::int64_t{r.bottom} - r.top);
    }
    return text + "}";
}

}  // namespace platform::kwin

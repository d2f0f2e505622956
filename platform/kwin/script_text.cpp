#include "platform/kwin/script_text.h"

#include "platform/kwin/script_report.h"

namespace platform::kwin {

namespace {

constexpr std::string_view setupPlace = "/*@SETUP@*/ null";

// A JavaScript string literal: anything but plain letters, digits and a few
// marks is written as an escape, so no value can end the literal.
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
            quoted += "\\x";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0xF];
        }
    }
    return quoted + "\"";
}

const char* kindName(RequestKind kind) {
    switch (kind) {
        case RequestKind::watch: return "watch";
        case RequestKind::query: return "query";
        case RequestKind::apply: return "apply";
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

std::string requestText(const ScriptRequest& request) {
    std::string text = "{kind: " + literal(kindName(request.kind)) + ", serial: " + std::to_string(request.serial);
    if (request.kind == RequestKind::watch) return text + "}";
    text += ", window: " + literal(request.windowId);
    if (request.kind == RequestKind::apply) {
        const Rect& r = request.frame;
        text += ", show: " + literal(showName(request.show)) + ", x: " + std::to_string(r.left) +
                ", y: " + std::to_string(r.top) + ", width: " + std::to_string(std::int64_t{r.right} - r.left) +
                ", height: " + std::to_string(std::int64_t{r.bottom} - r.top);
    }
    return text + "}";
}

}  // namespace

std::optional<std::string> scriptText(std::string_view shipped, const CallBack& callBack,
                                      const ScriptRequest& request) {
    const std::size_t at = shipped.find(setupPlace);
    if (at == std::string_view::npos) return std::nullopt;
    if (request.kind != RequestKind::watch && !isWindowId(request.windowId)) return std::nullopt;
    const std::string setup = "{service: " + literal(callBack.service) + ", path: " + literal(callBack.path) +
                              ", token: " + literal(callBack.token) + ", request: " + requestText(request) + "}";
    std::string text(shipped);
    text.replace(at, setupPlace.size(), setup);
    return text;
}

}  // namespace platform::kwin

#pragma once
// What the KWin script reports, read from the text it sends back: key=value
// fields joined by "&", each value URI-encoded. The text comes from inside
// the compositor but is checked as any untrusted input: every number must be
// finite and every rectangle must fit in 32 bits, or the report is refused.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace platform::kwin {

// A window as KWin sees it. The frame is the one the user sees: KWin's
// frame geometry counts the title bar it draws and leaves out shadows.
struct ScriptWindow {
    std::string id;  // KWin's internal id, stable for the window's life
    std::int32_t pid = 0;
    std::string caption;  // UTF-8, as the window's program set it
    Rect frame;
    ShowState state = showNormal;
    WindowKind kind = WindowKind::ordinary;
};

struct ScriptReport {
    std::uint32_t serial = 0;            // the request answered; 0 for news the script pushes
    std::string activeId;                // empty when no window is active
    std::vector<Monitor> monitors;       // KWin's order: the first is the primary
    std::optional<ScriptWindow> window;  // the window the report is about, if any
};

// nullopt when the text is not a well-formed report.
std::optional<ScriptReport> readReport(std::string_view text);

// KWin's ids are UUIDs (in braces, as Qt writes them); only such text is
// ever passed back to the script, so that no id can carry anything else.
bool isWindowId(std::string_view id);

}  // namespace platform::kwin

#pragma once
// An in-memory desktop for the unit tests: windows with handles, titles and
// placements, a foreground window, a screen and its monitors with their work
// areas. It reports placements the way a real platform does, so that the code
// under test has to tell the conventions apart:
// - Windows counts rcNormalPosition from the work area of the monitor that
//   holds the window (a tool window's from the screen's corner) and applies
//   placements to any window it may change;
// - Wine reports another program's window on the screen, with the outer
//   rectangle it has now as the normal one, and refuses SetWindowPlacement for
//   it; showing and moving work.
// A window's outer rectangle, the one its placement gives, includes the
// invisible margins it announces (a client-drawn shadow, Windows' resize
// borders); the frame the user sees lies that far inside it.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/desktop.h"

namespace fake {

enum class Convention { Windows, Wine };

struct FakeWindow {
    std::wstring title;
    // The placement with its normal rectangle in screen pixels.
    platform::WindowPlacement placement{0, platform::showNormal, {}, {}, {}};
    bool toolWindow = false;
    bool refusesPlacements = false;   // like a window of a program with higher rights
    bool hung = false;                // its program handles no messages
    bool hangsWhenChanged = false;    // its program answers, then hangs in every change asked
    bool changePending = false;       // a change waits for its hung program
    platform::Size minimumSize{};     // its application keeps at least this normal size
    int readsLeft = -1;               // placement reads that succeed; -1: all of them
    int placementsApplied = 0;
    std::vector<platform::Rect> appliedOnScreen{};  // each normal rectangle applied, in order
    platform::WindowKind kind = platform::WindowKind::ordinary;
    // Announced while it is shown normally; while maximised or minimised the
    // ones in otherStateMargins where set, as they differ there (GTK drops its
    // shadow, Windows puts a maximised window's borders off the monitor).
    platform::Margins invisibleMargins{};
    std::optional<platform::Margins> otherStateMargins{};
};

class FakeDesktop final : public platform::Desktop {
public:
    Convention convention = Convention::Windows;
    std::map<platform::WindowHandle, FakeWindow> windows;
    platform::WindowHandle foreground = 0;
    platform::Size screen{1280, 1024};
    // In screen pixels; the first is the primary monitor.
    std::vector<platform::Rect> monitors{{0, 0, 1280, 1024}};
    // The work area of each monitor in screen pixels, in the order of
    // monitors; a monitor without one here is work area all over.
    std::vector<platform::Rect> workAreas;
    bool failWorkArea = false;
    int foregroundCalls = 0;
    // Presses are watched as on X11 where set: the windows pressed since the
    // last question; off, as on Windows, by default.
    bool watchesPresses = false;
    bool watching = false;
    std::vector<platform::WindowHandle> presses;
    // Windows the desktop knows to be this program's, as a Wayland desktop
    // tells them apart by their process.
    std::set<platform::WindowHandle> ownWindows;

    bool ofThisProgram(platform::WindowHandle window) override { return ownWindows.contains(window); }

    // The foreground as a Wayland desktop hears of it: at once, through the listener.
    std::function<void()> foregroundListener;
    void listenForegroundChanges(std::function<void()> listener) override {
        foregroundListener = std::move(listener);
    }
    void hearForeground(platform::WindowHandle window) {
        foreground = window;
        if (foregroundListener) foregroundListener();
    }

    void watchPresses(bool on) override {
        watching = on;
        if (!on) presses.clear();
    }
    std::optional<std::vector<platform::WindowHandle>> pressedWindows() override {
        if (!watchesPresses) return std::nullopt;
        return std::exchange(presses, {});
    }
    platform::WindowHandle foregroundWindow() override {
        ++foregroundCalls;
        return foreground;
    }
    bool getPlacement(platform::WindowHandle window, platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end() || it->second.readsLeft == 0) return false;
        FakeWindow& w = it->second;
        if (w.readsLeft > 0) --w.readsLeft;
        placement = w.placement;
        if (convention == Convention::Wine) {
            placement.flags = 0;
            placement.ptMinPosition = placement.ptMaxPosition = {-1, -1};
            placement.rcNormalPosition = outerRectangle(w);
        } else if (!w.toolWindow) {
            const std::optional<platform::Rect> reported =
                shifted(w.placement.rcNormalPosition, inset(w.placement.rcNormalPosition), -1);
            if (!reported) return false;
            placement.rcNormalPosition = *reported;
        }
        return true;
    }
    bool setPlacement(platform::WindowHandle window, const platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end() || it->second.refusesPlacements || convention == Convention::Wine) return false;
        FakeWindow& w = it->second;
        if (w.hangsWhenChanged) return w.changePending = true;
        std::optional<platform::Rect> onScreen = placement.rcNormalPosition;
        if (!w.toolWindow) onScreen = shifted(*onScreen, inset(*onScreen), 1);
        if (!onScreen) return false;  // no such rectangle on the screen
        w.placement = placement;
        place(w, placement.showCmd, *onScreen);
        return true;
    }
    bool showAndMove(platform::WindowHandle window, platform::ShowState showCmd,
                     const platform::Rect& onScreen) override {
        auto it = windows.find(window);
        if (it == windows.end() || it->second.refusesPlacements) return false;
        if (it->second.hangsWhenChanged) return it->second.changePending = true;
        place(it->second, showCmd, onScreen);
        return true;
    }
    bool changePending(platform::WindowHandle window) override {
        auto it = windows.find(window);
        return it != windows.end() && it->second.changePending;
    }
    std::optional<platform::Rect> windowRectangle(platform::WindowHandle window) override {
        auto it = windows.find(window);
        if (it == windows.end()) return std::nullopt;
        return outerRectangle(it->second);
    }
    platform::WindowFacts facts(platform::WindowHandle window) override {
        auto it = windows.find(window);
        if (it == windows.end()) return {};
        const FakeWindow& w = it->second;
        const bool normal = w.placement.showCmd == platform::showNormal;
        return {.toolWindow = w.toolWindow,
                .kind = w.kind,
                .invisibleMargins = normal || !w.otherStateMargins ? w.invisibleMargins : *w.otherStateMargins};
    }
    bool answers(platform::WindowHandle window, std::chrono::milliseconds) override {
        auto it = windows.find(window);
        return it != windows.end() && !it->second.hung;
    }
    std::wstring title(platform::WindowHandle window) override {
        auto it = windows.find(window);
        return it == windows.end() ? std::wstring() : it->second.title;
    }
    std::optional<platform::Monitor> monitorFor(const platform::Rect& r) override {
        if (failWorkArea || monitors.empty()) return std::nullopt;
        const std::size_t index = monitorIndexFor(r);
        return platform::Monitor{monitors[index], workAreaOf(index)};
    }
    platform::Size screenSize() override { return screen; }
    bool anyMonitorIntersects(const platform::Rect& r) override {
        for (const platform::Rect& m : monitors)
            if (overlap(r, m) > 0) return true;
        return false;
    }

private:
    // The rectangle a window covers now: a maximised one fills its monitor's
    // work area, a minimised one sits far off the screen.
    platform::Rect outerRectangle(const FakeWindow& w) const {
        const platform::Rect& normal = w.placement.rcNormalPosition;
        if (w.placement.showCmd == platform::showMaximized && !monitors.empty())
            return workAreaOf(monitorIndexFor(normal));
        if (w.placement.showCmd == platform::showMinimized) return {-32000, -32000, -31840, -31972};
        return normal;
    }
    // A restored window reports itself as shown normally; its application
    // keeps its minimum size.
    void place(FakeWindow& w, platform::ShowState showCmd, platform::Rect onScreen) const {
        ++w.placementsApplied;
        w.appliedOnScreen.push_back(onScreen);
        w.placement.showCmd = showCmd == platform::showRestore ? platform::showNormal : showCmd;
        if (w.minimumSize.width > 0)
            onScreen.right = std::max(onScreen.right, onScreen.left + w.minimumSize.width);
        if (w.minimumSize.height > 0)
            onScreen.bottom = std::max(onScreen.bottom, onScreen.top + w.minimumSize.height);
        w.placement.rcNormalPosition = onScreen;
    }
    // How far the work area of the rectangle's monitor starts from the
    // monitor's corner.
    platform::Point inset(const platform::Rect& r) const {
        if (monitors.empty()) return {};
        const std::size_t index = monitorIndexFor(r);
        const platform::Rect work = workAreaOf(index);
        return {work.left - monitors[index].left, work.top - monitors[index].top};
    }
    // nullopt where a coordinate would leave the 32-bit range.
    static std::optional<platform::Rect> shifted(const platform::Rect& r, platform::Point by, int sign) {
        const std::int64_t dx = std::int64_t{sign} * by.x, dy = std::int64_t{sign} * by.y;
        const std::int64_t sides[] = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        for (const std::int64_t side : sides)
            if (side < std::numeric_limits<std::int32_t>::min() || side > std::numeric_limits<std::int32_t>::max())
                return std::nullopt;
        return platform::Rect{static_cast<std::int32_t>(sides[0]), static_cast<std::int32_t>(sides[1]),
                              static_cast<std::int32_t>(sides[2]), static_cast<std::int32_t>(sides[3])};
    }
    platform::Rect workAreaOf(std::size_t monitor) const {
        return monitor < workAreas.size() ? workAreas[monitor] : monitors[monitor];
    }
    std::size_t monitorIndexFor(const platform::Rect& r) const {
        std::size_t best = 0;
        for (std::size_t i = 1; i < monitors.size(); ++i)
            if (closer(r, monitors[i], monitors[best])) best = i;
        return best;
    }
    static std::int64_t overlap(const platform::Rect& a, const platform::Rect& b) {
        const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
        const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
        return w > 0 && h > 0 ? w * h : 0;
    }
    // Squared distance between the nearest points of two rectangles, in
    // double precision: across the 32-bit range it leaves the 64-bit one.
    static double gap(const platform::Rect& a, const platform::Rect& b) {
        const double dx =
            std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
        const double dy =
            std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
        return dx * dx + dy * dy;
    }
    // The monitor that holds the larger part of the rectangle, or the nearer
    // one when it lies on neither.
    static bool closer(const platform::Rect& r, const platform::Rect& candidate, const platform::Rect& best) {
        const std::int64_t a = overlap(r, candidate), b = overlap(r, best);
        if (a != b) return a > b;
        return a == 0 && gap(r, candidate) < gap(r, best);
    }
};

}  // namespace fake

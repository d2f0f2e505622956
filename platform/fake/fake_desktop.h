#pragma once
// An in-memory desktop for the unit tests: windows with handles, titles and
// placements, a foreground window, a screen and its monitors with their work
// areas.
#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/desktop.h"

namespace fake {

struct FakeWindow {
    std::wstring title;
    platform::WindowPlacement placement{platform::placementLength, 0, platform::showNormal, {}, {}, {}};
    bool refusesPlacements = false;   // like a window of a program with higher rights
    platform::Size minimumSize{};     // its application keeps at least this normal size
    int readsLeft = -1;               // placement reads that succeed; -1: all of them
    int placementsApplied = 0;
};

class FakeDesktop final : public platform::Desktop {
public:
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

    platform::WindowHandle foregroundWindow() override {
        ++foregroundCalls;
        return foreground;
    }
    bool getPlacement(platform::WindowHandle window, platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end() || it->second.readsLeft == 0) return false;
        if (it->second.readsLeft > 0) --it->second.readsLeft;
        placement = it->second.placement;
        return true;
    }
    bool setPlacement(platform::WindowHandle window, const platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end() || it->second.refusesPlacements) return false;
        FakeWindow& target = it->second;
        ++target.placementsApplied;
        target.placement = placement;
        target.placement.length = platform::placementLength;
        // A restored window reports itself as shown normally.
        if (placement.showCmd == platform::showRestore) target.placement.showCmd = platform::showNormal;
        platform::Rect& normal = target.placement.rcNormalPosition;
        normal.right = std::max(normal.right, normal.left + target.minimumSize.width);
        normal.bottom = std::max(normal.bottom, normal.top + target.minimumSize.height);
        return true;
    }
    std::wstring titleBuffer(platform::WindowHandle window) override {
        std::wstring buffer(256, L' ');
        auto it = windows.find(window);
        if (it == windows.end()) return buffer;
        const std::wstring title = it->second.title.substr(0, 255);
        buffer.replace(0, title.size(), title);
        buffer[title.size()] = L'\0';
        return buffer;
    }
    // Workspace coordinates count from the primary monitor's work area.
    platform::Rect workAreaFor(const platform::Rect& normal) override {
        if (failWorkArea || monitors.empty()) return {};
        const platform::Rect origin = workAreaOf(0);
        const platform::Rect onScreen = moved(normal, origin.left, origin.top);
        std::size_t best = 0;
        for (std::size_t i = 1; i < monitors.size(); ++i)
            if (closer(onScreen, monitors[i], monitors[best])) best = i;
        return moved(workAreaOf(best), -origin.left, -origin.top);
    }
    platform::Size screenSize() override { return screen; }
    bool anyMonitorIntersects(const platform::Rect& r) override {
        for (const platform::Rect& m : monitors)
            if (overlap(r, m) > 0) return true;
        return false;
    }

private:
    platform::Rect workAreaOf(std::size_t monitor) const {
        return monitor < workAreas.size() ? workAreas[monitor] : monitors[monitor];
    }
    static platform::Rect moved(const platform::Rect& r, std::int32_t dx, std::int32_t dy) {
        return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    static std::int64_t overlap(const platform::Rect& a, const platform::Rect& b) {
        const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
        const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
        return w > 0 && h > 0 ? w * h : 0;
    }
    // Squared distance between the nearest points of two rectangles.
    static std::int64_t gap(const platform::Rect& a, const platform::Rect& b) {
        const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
        const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
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

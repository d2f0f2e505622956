#pragma once
// An in-memory desktop for the unit tests: windows with handles, titles and
// placements, a foreground window, a screen and its work area.
#include <map>
#include <vector>

#include "platform/desktop.h"

namespace fake {

struct FakeWindow {
    std::wstring title;
    platform::WindowPlacement placement{platform::placementLength, 0, platform::showNormal, {}, {}, {}};
};

class FakeDesktop final : public platform::Desktop {
public:
    std::map<platform::WindowHandle, FakeWindow> windows;
    platform::WindowHandle foreground = 0;
    platform::Size screen{1280, 1024};
    platform::Rect workArea{0, 0, 1280, 1024};
    int foregroundCalls = 0;

    platform::WindowHandle foregroundWindow() override {
        ++foregroundCalls;
        return foreground;
    }
    bool getPlacement(platform::WindowHandle window, platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end()) return false;
        placement = it->second.placement;
        return true;
    }
    bool setPlacement(platform::WindowHandle window, const platform::WindowPlacement& placement) override {
        auto it = windows.find(window);
        if (it == windows.end()) return false;
        it->second.placement = placement;
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
    platform::Rect workAreaFor(const platform::Rect&) override { return workArea; }
    platform::Size screenSize() override { return screen; }
    std::vector<platform::Rect> monitors{{0, 0, 1280, 1024}};
    bool anyMonitorIntersects(const platform::Rect& r) override {
        for (const platform::Rect& m : monitors)
            if (r.left < m.right && m.left < r.right && r.top < m.bottom && m.top < r.bottom) return true;
        return false;
    }
};

}  // namespace fake

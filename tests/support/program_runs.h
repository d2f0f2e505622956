#pragma once
// The main window as the program runs it, against the fake platform: created
// by the view, through its load step, closed, and what it left in the store.
#include <cstdint>
#include <memory>
#include <string>

#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "ui/main_window.h"

namespace fake {

// The handle the view gives the main window.
constexpr platform::WindowHandle mainWindowHandle = 0x1010;
// Where the platform puts the new window, and its outer size, in twips; it
// fits the fake desktop's 1280 x 1024 screen at 96 DPI.
constexpr float newWindowLeft = 1500, newWindowTop = 1200;
constexpr float windowWidth = 5400, windowHeight = 6300;

// What the view does once it has created the window, then the load step.
inline void createAndLoad(ui::MainWindow& window, float twipsPerPixel = 15) {
    window.form().viewCreated(mainWindowHandle);
    window.form().viewDpiChanged(twipsPerPixel);
    window.form().viewMoved(newWindowLeft, newWindowTop, windowWidth, windowHeight);
    window.frmAmbrisk2_Form_Load();
}

// One run of the program after another against the same fake platform.
struct ProgramRuns {
    FakePlatform fake;
    std::unique_ptr<ui::MainWindow> window;
    float twipsPerPixel = 15;  // 96 DPI

    // A new window after its load step, in place of the previous run's.
    ui::MainWindow& start() {
        window = std::make_unique<ui::MainWindow>(fake.platform);
        createAndLoad(*window, twipsPerPixel);
        return *window;
    }
    // The unload step; gives back the cancel flag it left.
    std::int16_t close() {
        std::int16_t cancel = 0;
        window->frmAmbrisk2_Form_Unload(cancel);
        return cancel;
    }
    void store(const std::wstring& key, const std::wstring& value, const std::wstring& application = programName) {
        fake.settings.values[{application, settings::section, key}] = value;
    }
    // Throws when the store holds nothing under the key.
    const std::wstring& stored(const std::wstring& key, const std::wstring& application = programName) const {
        return fake.settings.values.at({application, settings::section, key});
    }
};

}  // namespace fake

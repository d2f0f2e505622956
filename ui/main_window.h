#pragma once
// The main window frmAmbrisk2: its controls (a forms model built from the
// layout table), its form state and its event handlers. The handlers read
// the controls, hand plain values to the rules in sizing/ and settings/ and
// write back what those give; each file of ui/ holds the handlers of one
// job, and app/lifecycle.cpp the load and unload steps.
#include <cstdint>
#include <optional>

#include "platform/forms.h"
#include "platform/platform.h"
#include "sizing/action.h"
#include "sizing/history.h"
#include "sizing/presets.h"
#include "ui/layout.h"

namespace ui {

// 16-bit booleans of the forms layer.
constexpr std::int16_t vbTrue = -1;
constexpr std::int16_t vbFalse = 0;

struct FormState {
    platform::WindowHandle targetWindow = 0;
    std::int32_t selectedResolution = 0;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    sizing::PresetTable presetWidths{};
    sizing::PresetTable presetHeights{};
    sizing::History resizedWindows;
    std::int16_t restoreMode = vbFalse;
    // The window the user pressed when the pending action was caught, where
    // the desktop watches presses.
    std::optional<platform::WindowHandle> pressedWindow;
};

class MainWindow final : private forms::FormEvents, private sizing::PlacementMemory {
public:
    explicit MainWindow(platform::Platform& platform);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    forms::Form& form() { return form_; }
    const forms::Form& form() const { return form_; }
    forms::Control& ctl(Ctl id) { return form_.control(id); }
    forms::Control& optRes(int index) { return form_.control(optRes0 + index); }
    forms::Control& optTask(int index) { return form_.control(optTask0 + index); }
    FormState& state() { return state_; }
    const FormState& state() const { return state_; }

    // --- Event handlers ---
    void frmAmbrisk2_Form_Load();
    // Gives what went wrong when the settings could not be stored.
    std::optional<platform::StoreFailure> frmAmbrisk2_Form_Unload(std::int16_t& cancel);
    void frmAmbrisk2_cmdHelp_Click();
    void frmAmbrisk2_cmdRestoreDefaults_Click();
    void frmAmbrisk2_optRes_Click(std::int16_t index);
    void frmAmbrisk2_chkBorder_Click();
    void frmAmbrisk2_chkTask_Click();
    void frmAmbrisk2_txtBreit_GotFocus();
    void frmAmbrisk2_txtHoch_GotFocus();
    void frmAmbrisk2_txtBorder_GotFocus();
    void frmAmbrisk2_txtTask_GotFocus();
    void frmAmbrisk2_txtBreit_KeyPress(std::int16_t& keyAscii);
    void frmAmbrisk2_txtHoch_KeyPress(std::int16_t& keyAscii);
    void frmAmbrisk2_txtBorder_KeyPress(std::int16_t& keyAscii);
    void frmAmbrisk2_txtTask_KeyPress(std::int16_t& keyAscii);
    void frmAmbrisk2_chkGo_Click();
    void frmAmbrisk2_chkBack_Click();
    void frmAmbrisk2_Timer1_Timer();
    void frmAmbrisk2_Timer2_Timer();
    // A pressed toggle catches the window the user clicked.
    void CatchPressedToggles();

    // --- Operations shared by the handlers ---
    void NormaliseEntries();
    void FilterNumericKey(std::int16_t& keyAscii);
    // The history's operations (sizing::PlacementMemory), through which the
    // sizing action keeps the placements it changes.
    void RememberPlacement(const platform::WindowPlacement& placement, platform::WindowHandle window) override;
    bool RecallPlacement(platform::WindowPlacement& placement, platform::WindowHandle window) override;
    void ReopenPlacement(platform::WindowHandle window, platform::ShowState showCmd) override;

private:
    // forms::FormEvents: route the model's events to the handlers above.
    void click(int id) override;
    void gotFocus(int id) override;
    void keyPress(int id, std::int16_t& keyAscii) override;
    void timerTick(int timer) override;

    platform::Platform& platform_;
    forms::Form form_;
    FormState state_;
};

}  // namespace ui

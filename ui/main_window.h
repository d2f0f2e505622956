#pragma once
// The main window frmAmbrisk2: its controls (a forms model built from the
// layout table), its form state and its event handlers. The handlers are
// defined next to the behaviour they belong to: ui/ for the entries and the
// help, sizing/ for arming and the action, settings/ and app/ for the
// settings and the lifecycle.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/forms.h"
#include "platform/platform.h"
#include "sizing/history.h"
#include "ui/layout.h"

namespace ui {

constexpr int presetCount = 7;
// The resolution presets, index 0 to 6; the load step copies them into the form state.
constexpr std::array<std::int16_t, presetCount> presetWidthTable{640, 800, 1024, 1152, 1280, 1280, 1600};
constexpr std::array<std::int16_t, presetCount> presetHeightTable{480, 600, 768, 864, 960, 1024, 1200};

// 16-bit booleans of the forms layer.
constexpr std::int16_t vbTrue = -1;
constexpr std::int16_t vbFalse = 0;

struct FormState {
    platform::WindowHandle targetWindow = 0;
    std::int32_t selectedResolution = 0;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::array<std::int16_t, presetCount> presetWidths{};
    std::array<std::int16_t, presetCount> presetHeights{};
    std::vector<sizing::HistoryRecord> resizedWindows;
    std::int16_t restoreMode = vbFalse;
};

class MainWindow final : private forms::FormEvents {
public:
    explicit MainWindow(platform::Platform& platform);
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
    void frmAmbrisk2_Form_Unload(std::int16_t& cancel);
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

    // --- Operations shared by the handlers ---
    void NormaliseEntries();
    void FilterNumericKey(std::int16_t& keyAscii);
    void RememberPlacement(const platform::WindowPlacement& placement,
                           platform::WindowHandle window);
    bool RecallPlacement(platform::WindowPlacement& placement, platform::WindowHandle window);

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

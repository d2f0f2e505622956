#include <string>

#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_Timer1_Timer() {
    // The platform reports the screen in pixels, so no twips quotient is needed.
    const platform::Size screen = platform_.desktop.screenSize();
    if (screen.width != state_.screenWidth || screen.height != state_.screenHeight) {
        state_.screenWidth = screen.width;
        state_.screenHeight = screen.height;
        ctl(Label1).setText(L"您的屏幕分辨率是：" + std::to_wstring(state_.screenWidth) + L" x " +
                            std::to_wstring(state_.screenHeight));
        // Downwards, so that a selection moved off a preset that no longer
        // fits is looked at again on the next step and ends on the largest
        // preset that fits (or on the first one, disabled or not).
        for (int i = presetCount - 1; i >= 0; --i) {
            const bool fits = state_.screenWidth >= state_.presetWidths[i] ||
                              state_.screenHeight >= state_.presetHeights[i];
            optRes(i).setEnabled(fits);
            if (!fits && optRes(i).selected() && i >= 1) optRes(i - 1).select();
        }
    }

    // A pressed toggle is caught once another window (or none) is in the
    // foreground: the click that the user aimed at the target has landed.
    const auto catchAction = [this](Ctl toggle, std::int16_t mode) {
        if (ctl(toggle).value() != 1 || platform_.desktop.foregroundWindow() == form_.hWnd()) return;
        state_.restoreMode = mode;
        ctl(toggle).setValue(0);
        form_.setTimerInterval(Timer2, 400);
        form_.setTimerEnabled(Timer2, true);
    };
    catchAction(chkGo, vbFalse);
    catchAction(chkBack, vbTrue);
}

void MainWindow::frmAmbrisk2_chkGo_Click() {
    if (ctl(chkGo).value() == 1) ctl(chkBack).setValue(0);
    NormaliseEntries();
}

void MainWindow::frmAmbrisk2_chkBack_Click() {
    if (ctl(chkBack).value() == 1) ctl(chkGo).setValue(0);
}

}  // namespace ui

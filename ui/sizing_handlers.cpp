// The handlers of the screen watch, the two toggles and the action: they
// read the controls, let sizing/ decide and write back what it gives.
#include "platform/entry_numbers.h"
#include "sizing/action.h"
#include "sizing/arming.h"
#include "sizing/screen_watch.h"
#include "ui/main_window.h"

namespace ui {

namespace {

double numberIn(const forms::Control& field) { return numbers::entryNumber(field.text()); }

sizing::SizeRequest requestedSize(MainWindow& window) {
    sizing::SizeRequest request;
    const std::int32_t selected = window.state().selectedResolution;
    if (selected >= 0 && selected < sizing::presetCount) {
        request.width = window.state().presetWidths[static_cast<std::size_t>(selected)];
        request.height = window.state().presetHeights[static_cast<std::size_t>(selected)];
    } else {
        request.width = numberIn(window.ctl(txtBreit));
        request.height = numberIn(window.ctl(txtHoch));
    }
    // Only a tick counts; the greyed state is as good as clear.
    if (window.ctl(chkBorder).value() == 1) request.border = numberIn(window.ctl(txtBorder));
    if (window.ctl(chkTask).value() == 1) request.taskbar = numberIn(window.ctl(txtTask));
    request.horizontalTaskbar = window.optTask(0).selected();
    return request;
}

}  // namespace

void MainWindow::frmAmbrisk2_Timer1_Timer() {
    // The platform reports the screen in pixels, so no twips quotient is needed.
    const platform::Size screen = platform_.desktop.screenSize();
    if (screen.width != state_.screenWidth || screen.height != state_.screenHeight) {
        state_.screenWidth = screen.width;
        state_.screenHeight = screen.height;
        ctl(Label1).setText(sizing::resolutionText(screen));
        sizing::enableFittingPresets(form_, optRes0, screen, state_.presetWidths, state_.presetHeights);
    }

    CatchPressedToggles();
}

void MainWindow::CatchPressedToggles() {
    const auto catchAction = [this](Ctl toggle, std::int16_t mode) {
        const std::optional<sizing::Catch> caught =
            sizing::caughtTarget(ctl(toggle).value(), platform_.desktop, form_.hWnd());
        if (!caught) return;
        state_.restoreMode = mode;
        state_.pressedWindow = caught->pressedWindow;
        ctl(toggle).setValue(0);
        form_.setTimerInterval(Timer2, sizing::actionDelay);
        form_.setTimerEnabled(Timer2, true);
    };
    catchAction(chkGo, vbFalse);
    catchAction(chkBack, vbTrue);
}

void MainWindow::frmAmbrisk2_chkGo_Click() {
    if (ctl(chkGo).value() == 1) ctl(chkBack).setValue(0);
    sizing::watchPressesWhileArmed(platform_.desktop, ctl(chkGo).value(), ctl(chkBack).value());
    NormaliseEntries();
}

void MainWindow::frmAmbrisk2_chkBack_Click() {
    if (ctl(chkBack).value() == 1) ctl(chkGo).setValue(0);
    sizing::watchPressesWhileArmed(platform_.desktop, ctl(chkGo).value(), ctl(chkBack).value());
}

void MainWindow::frmAmbrisk2_Timer2_Timer() {
    platform::Desktop& desktop = platform_.desktop;
    const platform::WindowHandle target = sizing::actionTarget(desktop, state_.pressedWindow);
    state_.targetWindow = target;
    sizing::ResultText result;
    if (state_.restoreMode == vbTrue) {
        result = sizing::restoreTarget(desktop, target, form_.hWnd(), *this);
    } else {
        NormaliseEntries();
        result = sizing::sizeTarget(desktop, target, form_.hWnd(), requestedSize(*this), *this);
    }
    if (result) ctl(txtResult).setText(*result);
    // Every path ends here, so each arming fires once.
    form_.setTimerEnabled(Timer2, false);
}

}  // namespace ui

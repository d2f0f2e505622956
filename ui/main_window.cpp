#include "ui/main_window.h"

namespace ui {

MainWindow::MainWindow(platform::Platform& platform)
    : platform_(platform), form_(layout, ControlCount, TimerCount) {
    form_.setTimerInterval(Timer1, 100);
    form_.setTimerEnabled(Timer1, true);
    form_.setEvents(this);
    platform_.desktop.listenForegroundChanges([this] { CatchPressedToggles(); });
}

MainWindow::~MainWindow() { platform_.desktop.listenForegroundChanges({}); }

void MainWindow::click(int id) {
    if (id >= optRes0 && id <= optRes7) {
        frmAmbrisk2_optRes_Click(static_cast<std::int16_t>(id - optRes0));
        return;
    }
    switch (id) {
        case cmdHelp: frmAmbrisk2_cmdHelp_Click(); break;
        case cmdRestoreDefaults: frmAmbrisk2_cmdRestoreDefaults_Click(); break;
        case chkBorder: frmAmbrisk2_chkBorder_Click(); break;
        case chkTask: frmAmbrisk2_chkTask_Click(); break;
        case chkGo: frmAmbrisk2_chkGo_Click(); break;
        case chkBack: frmAmbrisk2_chkBack_Click(); break;
        default: break;  // optTask and the rest have no click handler
    }
}

void MainWindow::gotFocus(int id) {
    switch (id) {
        case txtBreit: frmAmbrisk2_txtBreit_GotFocus(); break;
        case txtHoch: frmAmbrisk2_txtHoch_GotFocus(); break;
        case txtBorder: frmAmbrisk2_txtBorder_GotFocus(); break;
        case txtTask: frmAmbrisk2_txtTask_GotFocus(); break;
        default: break;
    }
}

void MainWindow::keyPress(int id, std::int16_t& keyAscii) {
    switch (id) {
        case txtBreit: frmAmbrisk2_txtBreit_KeyPress(keyAscii); break;
        case txtHoch: frmAmbrisk2_txtHoch_KeyPress(keyAscii); break;
        case txtBorder: frmAmbrisk2_txtBorder_KeyPress(keyAscii); break;
        case txtTask: frmAmbrisk2_txtTask_KeyPress(keyAscii); break;
        default: break;
    }
}

void MainWindow::timerTick(int timer) {
    if (timer == Timer1) frmAmbrisk2_Timer1_Timer();
    else if (timer == Timer2) frmAmbrisk2_Timer2_Timer();
}

}  // namespace ui

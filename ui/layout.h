#pragma once
// The controls of the main window in creation order. The order is also the
// stacking order: a control listed earlier lies in front of a later one.
#include "platform/forms.h"

namespace ui {

enum Ctl : int {
    Label1,
    cmdRestoreDefaults,
    cmdHelp,
    Frame1,
    optRes0, optRes1, optRes2, optRes3, optRes4, optRes5, optRes6, optRes7,
    txtBreit,
    Label4,
    txtHoch,
    chkBorder,
    fraBorder,
    Label3,
    txtBorder,
    Label2,
    chkTask,
    fraTask,
    optTask0, optTask1,
    Label6,
    txtTask,
    Label5,
    chkGo,
    chkBack,
    txtResult,
    ControlCount
};

enum TimerId : int { Timer1, Timer2, TimerCount };

constexpr int optResCount = 8;
constexpr int optTaskCount = 2;
constexpr int customResolution = 7;  // index of the "custom size" button

// Client area of the window, twips.
constexpr int clientWidthTwips = 5295;
constexpr int clientHeightTwips = 5775;

extern const wchar_t* const windowTitle;
extern const forms::ControlDesign layout[ControlCount];

}  // namespace ui

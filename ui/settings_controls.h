#pragma once
// The controls of the main window that hold its settings.
#include "settings/settings.h"
#include "ui/layout.h"

namespace ui {

constexpr settings::Controls settingsControls{.firstResolution = optRes0,
                                              .resolutionCount = optResCount,
                                              .customWidth = txtBreit,
                                              .customHeight = txtHoch,
                                              .addBorder = chkBorder,
                                              .border = txtBorder,
                                              .subtractTaskBar = chkTask,
                                              .taskBar = txtTask,
                                              .firstOrientation = optTask0,
                                              .orientationCount = optTaskCount};

}  // namespace ui

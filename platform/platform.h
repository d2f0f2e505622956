#pragma once
// Everything the main window needs from the system, handed to it at creation.
#include "platform/desktop.h"
#include "platform/message_dialog.h"
#include "platform/process.h"
#include "platform/settings_store.h"

namespace platform {

struct Platform {
    Desktop& desktop;
    SettingsStore& settings;
    MessageDialog& messageDialog;
    Process& process;
};

}  // namespace platform

#include "app/closing.h"

#include <cstdint>

#include "ui/layout.h"

namespace app {

void Closing::run() {
    if (done_) return;
    done_ = true;
    std::int16_t cancel = 0;  // closing cannot be refused
    mainWindow_.frmAmbrisk2_Form_Unload(cancel);
}

void tellWindowFailed(platform::MessageDialog& dialog) {
    dialog.show(windowFailed, platform::MessageKind::Error, ui::windowTitle);
}

}  // namespace app

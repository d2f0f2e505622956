#include "app/closing.h"

#include <cstdint>

#include "ui/layout.h"

namespace app {

std::optional<std::wstring> Closing::run() {
    if (done_) return std::nullopt;
    done_ = true;
    std::int16_t cancel = 0;  // closing cannot be refused
    const std::optional<platform::StoreFailure> failure = mainWindow_.frmAmbrisk2_Form_Unload(cancel);
    if (!failure) return std::nullopt;
    return L"Ambrisk 2 could not store its settings in " + failure->place + L": " + failure->reason + L".";
}

void tellError(platform::MessageDialog& dialog, const std::wstring& text) {
    dialog.show(text, platform::MessageKind::Error, ui::windowTitle);
}

void tellWindowFailed(platform::MessageDialog& dialog) { tellError(dialog, windowFailed); }

}  // namespace app

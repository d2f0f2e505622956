#pragma once
// The ends of a run that both entry points share: the unload step, once
// however the run ends, and the word to the user when there is no window.
#include "platform/message_dialog.h"
#include "ui/main_window.h"

namespace app {

// The main window's unload step, run at most once: a close may still follow
// the end of the session, a signal or a lost display, and each of them
// stores the settings as a close does.
class Closing {
public:
    explicit Closing(ui::MainWindow& mainWindow) : mainWindow_(mainWindow) {}
    Closing(const Closing&) = delete;
    Closing& operator=(const Closing&) = delete;

    void run();

private:
    ui::MainWindow& mainWindow_;
    bool done_ = false;
};

// Said when the main window cannot be made, rather than ending without a
// word; the settings stay untouched then.
inline constexpr const wchar_t* windowFailed = L"Ambrisk 2 could not create its window.";
void tellWindowFailed(platform::MessageDialog& dialog);

}  // namespace app

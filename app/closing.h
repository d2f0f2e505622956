#pragma once
// The ends of a run that both entry points share: the unload step, once
// however the run ends, and the words to the user when something failed.
#include <optional>
#include <string>

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

    // When the settings could not be stored, the sentence that says where
    // and why, for the entry point to pass on as far as the way the run
    // ends allows; nullopt when they were stored, and on every later call.
    std::optional<std::wstring> run();

private:
    ui::MainWindow& mainWindow_;
    bool done_ = false;
};

// A failure shown as an error message over the program's window.
void tellError(platform::MessageDialog& dialog, const std::wstring& text);

// Said when the main window cannot be made, rather than ending without a
// word; the settings stay untouched then.
inline constexpr const wchar_t* windowFailed = L"Ambrisk 2 could not create its window.";
void tellWindowFailed(platform::MessageDialog& dialog);

}  // namespace app

#pragma once
// Showing, moving and sizing another program's window waits until that
// program's thread has handled the change, and a program that hangs while it
// is moved would hold the caller, this program's window, with it. So each
// change runs on a thread of its own, and the caller waits for it only until
// a deadline.
#include <windows.h>

#include <functional>
#include <memory>

namespace platform::win32 {

struct ChangeInProgress;  // shared by the caller and the thread running it

class WindowChanges {
public:
    // Runs the change and gives its result (false: refused). A change still
    // running at the deadline counts as not refused; it goes on by itself,
    // also when this object or the program ends first.
    bool run(HWND window, std::function<bool()> change);
    // True while the last change run for the window is still running.
    bool pending(HWND window) const;

private:
    std::shared_ptr<ChangeInProgress> last_;
};

}  // namespace platform::win32

#include "platform/win32/window_changes.h"

#include <atomic>
#include <chrono>
#include <utility>

#include "platform/win32/win32_handles.h"

namespace platform::win32 {

struct ChangeInProgress {
    ChangeInProgress(HWND target, std::function<bool()> call) : window(target), change(std::move(call)) {}

    const HWND window;
    const std::function<bool()> change;
    const OwnedHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> succeeded{false};
};

namespace {

// A program that answers carries out a change within milliseconds; one that
// has not done so after a second is taken as hung, as one that does not
// answer at all within a second is.
constexpr std::chrono::milliseconds deadline{1000};

// The thread holds a share of the change, so that what it touches stays
// while it is blocked, whatever ends first. At the program's end the system
// ends a thread still blocked.
DWORD WINAPI carryOut(void* parameter) {
    const std::unique_ptr<std::shared_ptr<ChangeInProgress>> share(
        static_cast<std::shared_ptr<ChangeInProgress>*>(parameter));
    ChangeInProgress& change = **share;
    change.succeeded = change.change();
    SetEvent(change.done.get());
    return 0;
}

// Waits until the event is set or the time is up. Messages that other
// threads send to this one are answered meanwhile, as they are while this
// thread waits in a call to another program itself (the target's thread may
// send some while it carries out the change); no input, no timer and no
// posted message is handled.
bool waitAnswering(HANDLE event, std::chrono::milliseconds time) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + time;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &event, static_cast<DWORD>(left), QS_SENDMESSAGE, 0);
        if (woken != WAIT_OBJECT_0 + 1) return woken == WAIT_OBJECT_0;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

bool WindowChanges::run(HWND window, std::function<bool()> change) {
    auto started = std::make_shared<ChangeInProgress>(window, std::move(change));
    auto share = std::make_unique<std::shared_ptr<ChangeInProgress>>(started);
    // Without a thread of its own nothing is asked of the window.
    if (!started->done) return false;
    const OwnedHandle thread(CreateThread(nullptr, 0, carryOut, share.get(), 0, nullptr));
    if (!thread) return false;
    share.release();  // the thread's now
    last_ = started;
    if (!waitAnswering(started->done.get(), deadline)) return true;
    return started->succeeded;
}

bool WindowChanges::pending(HWND window) const {
    return last_ && last_->window == window && WaitForSingleObject(last_->done.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace platform::win32

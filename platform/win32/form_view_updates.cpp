// Mirrors the model into the window: control texts, values, enabled states
// and selections, the timers, and the window's position.
#include "platform/tab_order.h"
#include "platform/win32/form_window.h"

namespace platform::win32 {

void FormWindow::showText(int id) {
    echoing_ = true;
    SetWindowTextW(controls_.at(static_cast<std::size_t>(id)), form_.control(id).text().c_str());
    echoing_ = false;
}

void FormWindow::showValue(int id) {
    const forms::Control& control = form_.control(id);
    const HWND button = controls_.at(static_cast<std::size_t>(id));
    // The model's 0, 1 and 2 are BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE.
    SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(control.value()), 0);
    if (control.kind() == forms::Kind::Option) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, forms::isTabStop(control) ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void FormWindow::showEnabled(int id) {
    EnableWindow(controls_.at(static_cast<std::size_t>(id)), form_.control(id).enabled());
}

void FormWindow::showSelection(int id) {
    const forms::Control& control = form_.control(id);
    SendMessageW(controls_.at(static_cast<std::size_t>(id)), EM_SETSEL, static_cast<WPARAM>(control.selStart()),
                 static_cast<LPARAM>(control.selStart() + control.selLength()));
}

void FormWindow::timerChanged(int timer) {
    const UINT_PTR timerId = static_cast<UINT_PTR>(timer) + 1;
    // Setting a running timer again restarts its interval.
    if (const int interval = form_.runningInterval(timer))
        SetTimer(window_.get(), timerId, static_cast<UINT>(interval), nullptr);
    else
        KillTimer(window_.get(), timerId);
}

void FormWindow::positionChanged() {
    const int dpi = static_cast<int>(dpi_);
    SetWindowPos(window_.get(), nullptr, forms::positionToPixels(form_.left(), dpi),
                 forms::positionToPixels(form_.top(), dpi), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The model then holds the position the window really took.
    reportPosition();
}

void FormWindow::reportPosition() {
    // A minimised window keeps the position that it will be restored to.
    if (!window_ || IsIconic(window_.get())) return;
    RECT frame;
    if (!GetWindowRect(window_.get(), &frame)) return;
    const int dpi = static_cast<int>(dpi_);
    form_.viewMoved(forms::pixelsToTwips(frame.left, dpi), forms::pixelsToTwips(frame.top, dpi),
                    forms::pixelsToTwips(frame.right - frame.left, dpi),
                    forms::pixelsToTwips(frame.bottom - frame.top, dpi));
}

}  // namespace platform::win32

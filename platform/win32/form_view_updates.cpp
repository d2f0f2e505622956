// Mirrors the model into the window: control texts, values, enabled states
// and selections, the timers, and the window's position.
#include "platform/win32/form_window.h"

namespace platform::win32 {

void FormWindow::controlChanged(int id, forms::Property what) {
    if (!window_) return;
    const HWND control = controls_.at(static_cast<std::size_t>(id));
    switch (what) {
        case forms::Property::Text: {
            echoing_ = true;
            SetWindowTextW(control, form_.control(id).text().c_str());
            echoing_ = false;
            // The edit puts its caret at the start; the model keeps its own selection.
            if (form_.control(id).kind() == forms::Kind::TextField) applySelection(id);
            break;
        }
        case forms::Property::Value: applyValue(id); break;
        case forms::Property::Enabled: EnableWindow(control, form_.control(id).enabled()); break;
        case forms::Property::Selection:
            selectionSetInFocus_ = true;
            applySelection(id);
            break;
    }
}

void FormWindow::applyValue(int id) {
    const forms::Control& control = form_.control(id);
    const HWND button = controls_.at(static_cast<std::size_t>(id));
    // The model's 0, 1 and 2 are BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE.
    SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(control.value()), 0);
    if (control.kind() == forms::Kind::Option) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, control.selected() ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void FormWindow::applySelection(int id) {
    const forms::Control& control = form_.control(id);
    SendMessageW(controls_.at(static_cast<std::size_t>(id)), EM_SETSEL,
                 static_cast<WPARAM>(control.selStart()),
                 static_cast<LPARAM>(control.selStart() + control.selLength()));
}

void FormWindow::timerChanged(int timer) {
    if (window_) applyTimer(timer);
}

void FormWindow::applyTimer(int timer) {
    const UINT_PTR timerId = static_cast<UINT_PTR>(timer) + 1;
    const int interval = form_.timerInterval(timer);
    // Setting a running timer again restarts its interval.
    if (form_.timerEnabled(timer) && interval > 0)
        SetTimer(window_.get(), timerId, static_cast<UINT>(interval), nullptr);
    else
        KillTimer(window_.get(), timerId);
}

void FormWindow::positionChanged() {
    if (!window_) return;
    SetWindowPos(window_.get(), nullptr, toPixelPosition(form_.left()), toPixelPosition(form_.top()), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The model then holds the position the window really took.
    reportPosition();
}

void FormWindow::reportPosition() {
    // A minimised window keeps the position that it will be restored to.
    if (!window_ || IsIconic(window_.get())) return;
    RECT frame;
    if (!GetWindowRect(window_.get(), &frame)) return;
    const float scale = twipsPerPixel();
    form_.viewMoved(static_cast<float>(frame.left) * scale, static_cast<float>(frame.top) * scale,
                    static_cast<float>(frame.right - frame.left) * scale,
                    static_cast<float>(frame.bottom - frame.top) * scale);
}

}  // namespace platform::win32

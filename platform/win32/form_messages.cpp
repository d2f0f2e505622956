// The window procedures of the form window and its subclassed edits and
// frames: what the user does goes into the model through its input calls.
#include "platform/win32/form_window.h"

#include <cstdint>
#include <optional>

#include "platform/keys.h"

namespace platform::win32 {

namespace {

// Posted to an edit that has just gained the focus, so that the selection its
// got-focus handler chose outlives the caret placement of a mouse click.
constexpr UINT reapplySelectionMessage = WM_APP + 1;

}  // namespace

void FormWindow::onCommand(int id, WORD code) {
    const forms::Kind kind = form_.control(id).kind();
    if (kind == forms::Kind::TextField) {
        if (code == EN_CHANGE && !echoing_)
            form_.userEditedText(id, windowText(controls_[static_cast<std::size_t>(id)]));
        else if (code == EN_SETFOCUS)
            onEditFocus(id);
    } else if (code == BN_CLICKED) {
        form_.userClicked(id);
    }
}

void FormWindow::onEditFocus(int id) {
    if (!form_.userGotFocus(id)) {
        syncSelection(id);
        return;
    }
    // A mouse click places the caret after the focus has arrived; apply the
    // handler's selection again once the click is done.
    const forms::Control& control = form_.control(id);
    PostMessageW(controls_[static_cast<std::size_t>(id)], reapplySelectionMessage,
                 static_cast<WPARAM>(control.selStart()),
                 static_cast<LPARAM>(control.selStart() + control.selLength()));
}

void FormWindow::syncSelection(int id) {
    DWORD start = 0, end = 0;
    SendMessageW(controls_[static_cast<std::size_t>(id)], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    form_.userSelected(id, static_cast<int>(start), static_cast<int>(end) - static_cast<int>(start));
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->form_.setView(nullptr);  // nothing left to mirror the model into
        self->window_.release();       // already being destroyed
        self->controls_.clear();
        self->tooltip_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(window, message, wParam, lParam);
}

LRESULT FormWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = controlId(reinterpret_cast<HWND>(lParam));
            if (id >= 0) onCommand(id, HIWORD(wParam));
            return 0;
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            const int id = controlId(header.hwndFrom);
            if (id >= 0 && header.code == NM_CUSTOMDRAW) {
                const forms::ControlDesign& design = form_.control(id).design();
                if (design.kind == forms::Kind::Toggle && design.textColour)
                    return drawToggle(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), design);
            }
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            const int id = controlId(reinterpret_cast<HWND>(lParam));
            if (id >= 0 && form_.control(id).design().buttonFaceBackground) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_TIMER: {
            const auto timer = static_cast<int>(wParam) - 1;
            if (timer >= 0 && timer < form_.timerCount()) form_.timerFired(timer);
            return 0;
        }
        case WM_ACTIVATE:
            // Keep the focus on the control that had it, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(window, focus)) lastFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                const HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)
                                        ? lastFocus_
                                        : GetNextDlgTabItem(window, nullptr, FALSE);
                if (target) SetFocus(target);
            }
            return 0;
        case WM_MOVE:
        case WM_SIZE:
            reportPosition();
            break;
        case WM_DPICHANGED: {
            dpi_ = LOWORD(wParam);
            layoutControls();
            applyDpi();
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            closing_();  // the window closes whatever the handler decides
            DestroyWindow(window);
            return 0;
        case WM_ENDSESSION:
            // The system ends the program after this message, without a
            // WM_CLOSE; wParam 0 means the end of the session was cancelled.
            if (wParam) closing_();
            return 0;
        case WM_DESTROY:
            // A half-made window is destroyed before any message loop runs;
            // a quit message would only end the loop of the box that reports it.
            if (created_) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The edits and frames are subclassed by replacing their window procedure,
// with the window object in their user data: comctl32's SetWindowSubclass
// looks its data up in a window property on every message, which under Wine
// is a round trip to the server.
void FormWindow::subclass(int id, WNDPROC procedure) {
    const HWND control = controls_.at(static_cast<std::size_t>(id));
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    originalProcs_.at(static_cast<std::size_t>(id)) =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

FormWindow& FormWindow::ownerOf(HWND control) {
    return *reinterpret_cast<FormWindow*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT FormWindow::original(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(control) - firstControlId);
    return CallWindowProcW(originalProcs_.at(id), control, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return ownerOf(edit).editMessage(GetDlgCtrlID(edit) - firstControlId, message, wParam, lParam);
}

LRESULT FormWindow::editMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND edit = controls_.at(static_cast<std::size_t>(id));
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR: return typeCharacter(id, static_cast<char16_t>(wParam), lParam);
        case WM_UNICHAR:
            if (wParam == UNICODE_NOCHAR) return TRUE;  // yes, this window takes WM_UNICHAR
            return typeCharacter(id, static_cast<char32_t>(wParam), lParam);
        case WM_KEYDOWN: {
            // The character such a key makes comes as WM_CHAR; a shortcut the
            // edit attaches to the key itself (Wine selects all on Ctrl+A)
            // would act past the key press handler. A read-only field keeps
            // its shortcuts: they change nothing there.
            const forms::keys::KeyStroke key{
                .character = wParam >= 'A' && wParam <= 'Z' ? static_cast<char32_t>(wParam) : 0,
                .backspace = wParam == VK_BACK,
                .control = (GetKeyState(VK_CONTROL) & 0x8000) != 0,
                .otherModifier = (GetKeyState(VK_MENU) & 0x8000) != 0};
            if (forms::keys::makesControlCharacter(key) && !form_.control(id).design().readOnly) return 0;
            return original(edit, message, wParam, lParam);
        }
        case WM_GETDLGCODE:
            // Tab leaves even the multi-line field, as in the rest of the dialog.
            return original(edit, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        case reapplySelectionMessage:
            if (GetFocus() == edit) {
                SendMessageW(edit, EM_SETSEL, wParam, lParam);
                syncSelection(id);
            }
            return 0;
        case WM_KEYUP:
        case WM_LBUTTONUP: {
            const LRESULT result = original(edit, message, wParam, lParam);
            syncSelection(id);
            return result;
        }
        default:
            return original(edit, message, wParam, lParam);
    }
}

LRESULT FormWindow::typeCharacter(int id, char32_t character, LPARAM lParam) {
    // The key press handler sees every character first and may change or
    // swallow it; the edit carries out the control codes that it lets through.
    const std::optional<std::int16_t> code = forms::keys::characterCode(character);
    if (!code) return 0;
    const std::int16_t kept = form_.userKeyPress(id, *code);
    if (kept == 0) return 0;
    const LRESULT result = original(controls_.at(static_cast<std::size_t>(id)), WM_CHAR,
                                    static_cast<WPARAM>(static_cast<std::uint16_t>(kept)), lParam);
    syncSelection(id);
    return result;
}

LRESULT CALLBACK FormWindow::frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    const FormWindow& self = ownerOf(frame);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            // A group box drops its children's notifications; the window handles them.
            return SendMessageW(self.window_.get(), message, wParam, lParam);
        case WM_ERASEBKGND: {
            // Group boxes paint only their border and title; fill the inside.
            RECT inside;
            GetClientRect(frame, &inside);
            FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            break;
    }
    return self.original(frame, message, wParam, lParam);
}

}  // namespace platform::win32

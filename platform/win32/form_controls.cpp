// The child controls of the form window: their classes and styles, their
// order for the Tab key, the groups of option buttons, and the tooltips.
#include "platform/win32/form_window.h"

#include <imm.h>

#include <algorithm>

#include "platform/tab_order.h"

namespace platform::win32 {

namespace {

DWORD kindStyle(const forms::ControlDesign& design) {
    switch (design.kind) {
        case forms::Kind::Label:
            return design.align == forms::Align::Right    ? SS_RIGHT
                   : design.align == forms::Align::Centre ? SS_CENTER
                                                        : SS_LEFT;
        case forms::Kind::Button: return BS_PUSHBUTTON;
        case forms::Kind::Toggle: return BS_CHECKBOX | BS_PUSHLIKE;
        // Three states, as a stored setting may hold the greyed one.
        case forms::Kind::CheckBox: return BS_3STATE | BS_MULTILINE;
        case forms::Kind::Frame: return BS_GROUPBOX;
        case forms::Kind::Option: return BS_RADIOBUTTON | BS_MULTILINE;
        case forms::Kind::TextField: {
            DWORD style = design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
            if (design.readOnly) style |= ES_READONLY;
            if (design.verticalScrollBar) style |= WS_VSCROLL;
            return style;
        }
    }
    return 0;
}

// The dialog manager tabs through the controls marked as tab stops, and the
// arrow keys move within a group of option buttons.
DWORD controlStyle(const forms::Control& control) {
    return kindStyle(control.design()) | (forms::isTabStop(control) ? WS_TABSTOP : 0);
}

const wchar_t* controlClass(forms::Kind kind) {
    switch (kind) {
        case forms::Kind::Label: return WC_STATICW;
        case forms::Kind::TextField: return WC_EDITW;
        default: return WC_BUTTONW;
    }
}

}  // namespace

bool FormWindow::createControls() {
    const int count = form_.controlCount();
    controls_.assign(static_cast<std::size_t>(count), nullptr);
    originalProcs_.assign(static_cast<std::size_t>(count), nullptr);
    ownFonts_.resize(static_cast<std::size_t>(count));

    // Each container's children in tab order: the dialog manager tabs through
    // siblings in stacking order, so creation order gives both. Labels go
    // last, behind the other controls, as the lightweight labels of the forms
    // layer are drawn beneath every windowed control.
    std::vector<int> order = forms::byTabIndex(form_);
    std::stable_partition(order.begin(), order.end(),
                          [this](int id) { return form_.control(id).kind() != forms::Kind::Label; });
    // Containers before their contents, so that every parent exists.
    std::stable_partition(order.begin(), order.end(),
                          [this](int id) { return form_.control(id).design().container < 0; });
    for (const int id : order) {
        const int container = form_.control(id).design().container;
        if (!createControl(id, container >= 0 ? controls_.at(static_cast<std::size_t>(container)) : window_.get()))
            return false;
    }
    raiseOverlappingOptions();
    markGroups(window_.get());
    return true;
}

void FormWindow::markGroups(HWND parent) {
    // The dialog manager's group runs from a control marked as its start to
    // the next one so marked, among siblings in stacking order: each option
    // button after one of its group continues the group, every other control
    // starts one.
    const forms::ControlDesign* previous = nullptr;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = controlId(child);
        if (id < 0) continue;
        const forms::ControlDesign& design = form_.control(id).design();
        const bool continues = previous && forms::inOneOptionGroup(*previous, design);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        SetWindowLongPtrW(child, GWL_STYLE, continues ? style & ~WS_GROUP : style | WS_GROUP);
        previous = &design;
        if (design.kind == forms::Kind::Frame) markGroups(child);
    }
}

void FormWindow::raiseOverlappingOptions() {
    // Stacking follows the tab order here, front first; an option button
    // that must lie in front of an earlier one goes right in front of it.
    const int count = form_.controlCount();
    for (int earlier = 0; earlier < count; ++earlier) {
        for (int later = 0; later < count; ++later) {
            if (!forms::mustLieInFront(form_.control(later).design(), form_.control(earlier).design())) continue;
            const HWND front = controls_[static_cast<std::size_t>(earlier)];
            const HWND above = GetWindow(front, GW_HWNDPREV);
            SetWindowPos(controls_[static_cast<std::size_t>(later)], above ? above : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

bool FormWindow::createControl(int id, HWND parent) {
    const forms::Control& control = form_.control(id);
    const forms::ControlDesign& design = control.design();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | controlStyle(control);
    if (!control.enabled()) style |= WS_DISABLED;
    DWORD exStyle = 0;
    if (design.kind == forms::Kind::TextField) exStyle |= WS_EX_CLIENTEDGE;
    if (design.kind == forms::Kind::Frame) exStyle |= WS_EX_CONTROLPARENT;

    // Made in place: moving it afterwards costs a round of messages per control.
    const RECT place = pixelRect(design);
    const HWND child = CreateWindowExW(exStyle, controlClass(design.kind), control.text().c_str(), style,
                                       place.left, place.top, place.right - place.left, place.bottom - place.top,
                                       parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + id)),
                                       instance_, nullptr);
    controls_.at(static_cast<std::size_t>(id)) = child;
    if (!child) return false;
    // Stack each new control behind the ones created before it.
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    if (design.kind == forms::Kind::TextField) {
        if (design.maxLength > 0) SendMessageW(child, EM_LIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
        subclass(id, editProc);
        // The fields take numbers, which need no input method; the edit would
        // take its composed text in without a key press.
        ImmAssociateContextEx(child, nullptr, 0);
    }
    if (design.kind == forms::Kind::Frame) subclass(id, frameProc);
    if (design.kind == forms::Kind::Option || design.kind == forms::Kind::CheckBox ||
        design.kind == forms::Kind::Toggle)
        showValue(id);
    return true;
}

void FormWindow::createTooltips() {
    for (int id = 0; id < form_.controlCount(); ++id) {
        const wchar_t* tip = form_.control(id).tooltip();
        if (!tip) continue;
        if (!tooltip_) {
            tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(),
                                       nullptr, instance_, nullptr);
            if (!tooltip_) return;
        }
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        tool.hwnd = window_.get();
        tool.uId = reinterpret_cast<UINT_PTR>(controls_.at(static_cast<std::size_t>(id)));
        tool.lpszText = const_cast<wchar_t*>(tip);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The control's index in the model, or -1 for a window that is not one of them.
int FormWindow::controlId(HWND control) const {
    const int id = GetDlgCtrlID(control) - firstControlId;
    if (id < 0 || id >= static_cast<int>(controls_.size())) return -1;
    return controls_[static_cast<std::size_t>(id)] == control ? id : -1;
}

}  // namespace platform::win32

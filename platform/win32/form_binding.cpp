#include "platform/win32/form_binding.h"

#include <commctrl.h>
#include <imm.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace platform::win32 {

namespace {

constexpr wchar_t windowClassName[] = L"Ambrisk2Form";
constexpr int firstControlId = 100;  // dialog ID of control 0; test tools rely on it
constexpr int twipsPerInch = 1440;
// Posted to an edit that has just gained the focus, so that the selection its
// got-focus handler chose outlives the caret placement of a mouse click.
constexpr UINT reapplySelectionMessage = WM_APP + 1;

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

template <typename Function>
Function systemFunction(HMODULE module, const char* name) {
    // Through void(*)() so that the cast from FARPROC does not warn.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

UINT systemDpi() {
    const ScreenDc screen;
    const int dpi = GetDeviceCaps(screen.dc, LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

OwnedFont createFont(const wchar_t* face, float points, int weight, bool underline, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<float>(dpi) / 72.0f));
    font.lfWeight = weight;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return OwnedFont(CreateFontIndirectW(&font));
}

// The dialog font: "MS Shell Dlg 2" maps to the system's dialog face (Tahoma
// and its linked CJK fonts); at 8 pt the Chinese texts fit the layout.
constexpr wchar_t dialogFace[] = L"MS Shell Dlg 2";
constexpr float dialogPoints = 8.0f;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

DWORD controlStyle(const forms::Control& control) {
    const forms::ControlDesign& design = control.design();
    switch (design.kind) {
        case forms::Kind::Label:
            return design.align == forms::Align::Right    ? SS_RIGHT
                   : design.align == forms::Align::Centre ? SS_CENTER
                                                        : SS_LEFT;
        case forms::Kind::Button: return BS_PUSHBUTTON | WS_TABSTOP;
        case forms::Kind::Toggle: return BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
        // Three states, as a stored setting may hold the greyed one.
        case forms::Kind::CheckBox: return BS_3STATE | BS_MULTILINE | WS_TABSTOP;
        case forms::Kind::Frame: return BS_GROUPBOX;
        // Only the selected button of a group is a tab stop; the arrow keys
        // move within the group.
        case forms::Kind::Option: return BS_RADIOBUTTON | BS_MULTILINE | (control.selected() ? WS_TABSTOP : 0);
        case forms::Kind::TextField: {
            DWORD style = WS_TABSTOP;
            style |= design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
            if (design.readOnly) style |= ES_READONLY;
            if (design.verticalScrollBar) style |= WS_VSCROLL;
            return style;
        }
    }
    return 0;
}

const wchar_t* controlClass(forms::Kind kind) {
    switch (kind) {
        case forms::Kind::Label: return WC_STATICW;
        case forms::Kind::TextField: return WC_EDITW;
        default: return WC_BUTTONW;
    }
}

}  // namespace

// --- DPI ---

DpiApi::DpiApi() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    getDpiForWindow_ = systemFunction<decltype(getDpiForWindow_)>(user32, "GetDpiForWindow");
    adjustWindowRectExForDpi_ =
        systemFunction<decltype(adjustWindowRectExForDpi_)>(user32, "AdjustWindowRectExForDpi");
    getSystemMetricsForDpi_ =
        systemFunction<decltype(getSystemMetricsForDpi_)>(user32, "GetSystemMetricsForDpi");
}

UINT DpiApi::windowDpi(HWND window) const {
    if (getDpiForWindow_) {
        const UINT dpi = getDpiForWindow_(window);
        if (dpi > 0) return dpi;
    }
    return systemDpi();
}

RECT DpiApi::frameForClient(int width, int height, DWORD style, DWORD exStyle, UINT dpi) const {
    RECT frame{0, 0, width, height};
    if (adjustWindowRectExForDpi_) adjustWindowRectExForDpi_(&frame, style, FALSE, exStyle, dpi);
    else AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

int DpiApi::systemMetric(int index, UINT dpi) const {
    return getSystemMetricsForDpi_ ? getSystemMetricsForDpi_(index, dpi) : GetSystemMetrics(index);
}

// --- Creation ---

FormBinding::FormBinding(forms::Form& form, const WindowSpec& design, HINSTANCE instance,
                         std::function<void()> closing)
    : form_(form), design_(design), instance_(instance), closing_(std::move(closing)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    dpi_ = systemDpi();
    const RECT frame = dpiApi_.frameForClient(toPixels(design_.clientWidthTwips),
                                              toPixels(design_.clientHeightTwips), windowStyle, 0, dpi_);
    // WM_NCCREATE hands the handle to window_ and the binding to the window.
    CreateWindowExW(0, windowClassName, design_.title, windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    this);
    if (!window_) return;

    dpi_ = dpiApi_.windowDpi(window_.get());
    fitWindowToClient();
    if (!createControls()) {
        window_.reset();  // of no use without all its controls
        return;
    }
    createTooltips();
    applyDpi();

    form_.setView(this);
    form_.viewCreated(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_.get())));
    // A hidden window gets no WM_SIZE or WM_MOVE until it is first shown, but
    // the load step already needs the window's place and size.
    reportPosition();
    for (int timer = 0; timer < design_.timerCount; ++timer) applyTimer(timer);
    created_ = true;
}

FormBinding::~FormBinding() {
    form_.setView(nullptr);
    window_.reset();  // normally gone already, closed by the user
}

bool FormBinding::createControls() {
    const int count = form_.controlCount();
    controls_.assign(static_cast<std::size_t>(count), nullptr);
    originalProcs_.assign(static_cast<std::size_t>(count), nullptr);
    ownFonts_.resize(static_cast<std::size_t>(count));

    // Each container's children in tab order: the dialog manager tabs through
    // siblings in stacking order, so creation order gives both. Labels go
    // last, behind the other controls, as the lightweight labels of the forms
    // layer are drawn beneath every windowed control.
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int id = 0; id < count; ++id) order[static_cast<std::size_t>(id)] = id;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const forms::ControlDesign& left = form_.control(a).design();
        const forms::ControlDesign& right = form_.control(b).design();
        const bool leftLabel = left.kind == forms::Kind::Label;
        const bool rightLabel = right.kind == forms::Kind::Label;
        if (leftLabel != rightLabel) return rightLabel;
        return left.tabIndex < right.tabIndex;
    });
    // Containers before their contents, so that every parent exists.
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return (form_.control(a).design().container >= 0) < (form_.control(b).design().container >= 0);
    });
    for (const int id : order) {
        const int container = form_.control(id).design().container;
        if (!createControl(id, container >= 0 ? controls_.at(static_cast<std::size_t>(container)) : window_.get()))
            return false;
    }
    raiseOverlappingOptions();
    markGroups(window_.get());
    return true;
}

void FormBinding::markGroups(HWND parent) {
    // A group of option buttons runs from its first button to the next
    // control that is not one of them; every other control is a group alone.
    bool afterOption = false;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = controlId(child);
        if (id < 0) continue;
        const bool option = form_.control(id).kind() == forms::Kind::Option;
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        SetWindowLongPtrW(child, GWL_STYLE, option && afterOption ? style & ~WS_GROUP : style | WS_GROUP);
        afterOption = option;
        if (form_.control(id).kind() == forms::Kind::Frame) markGroups(child);
    }
}

void FormBinding::raiseOverlappingOptions() {
    // An option button that starts inside the one before it would have its
    // circle hidden by that one; it goes in front of it instead. Touching by
    // a pixel (15 twips at 96 DPI) hides nothing.
    constexpr int hiddenTwips = 15;
    const int count = form_.controlCount();
    for (int earlier = 0; earlier < count; ++earlier) {
        for (int later = 0; later < count; ++later) {
            const forms::ControlDesign& a = form_.control(earlier).design();
            const forms::ControlDesign& b = form_.control(later).design();
            if (a.kind != forms::Kind::Option || b.kind != forms::Kind::Option || a.container != b.container ||
                a.tabIndex >= b.tabIndex)
                continue;
            const bool rowsMeet = b.top < a.top + a.height && a.top < b.top + b.height;
            const int overlap = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
            if (!rowsMeet || overlap <= hiddenTwips) continue;
            const HWND front = controls_[static_cast<std::size_t>(earlier)];
            const HWND above = GetWindow(front, GW_HWNDPREV);
            SetWindowPos(controls_[static_cast<std::size_t>(later)], above ? above : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

bool FormBinding::createControl(int id, HWND parent) {
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
        applyValue(id);
    return true;
}

void FormBinding::createTooltips() {
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

// --- DPI-dependent appearance ---

void FormBinding::applyDpi() {
    setFonts();
    loadIcons();
    form_.viewDpiChanged(twipsPerPixel());
}

void FormBinding::fitWindowToClient() {
    const RECT frame = dpiApi_.frameForClient(toPixels(design_.clientWidthTwips),
                                              toPixels(design_.clientHeightTwips), windowStyle, 0, dpi_);
    SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormBinding::setFonts() {
    OwnedFont previousDefault = std::move(defaultFont_);
    std::vector<OwnedFont> previousOwn = std::move(ownFonts_);
    defaultFont_ = createFont(dialogFace, dialogPoints, FW_NORMAL, false, dpi_);
    // A window not yet shown is painted whole when it is; redrawing each
    // control now would only cost time.
    const BOOL redraw = IsWindowVisible(window_.get());
    ownFonts_.clear();
    ownFonts_.resize(controls_.size());
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        const auto& font = form_.control(static_cast<int>(id)).design().font;
        if (font)
            ownFonts_[id] = createFont(font->face ? font->face : dialogFace, font->points, font->weight,
                                       font->underline, dpi_);
        const HFONT chosen = ownFonts_[id] ? ownFonts_[id].get() : defaultFont_.get();
        SendMessageW(controls_[id], WM_SETFONT, reinterpret_cast<WPARAM>(chosen), redraw);
    }
    // The previous fonts are deleted here, after no control uses them.
}

RECT FormBinding::pixelRect(const forms::ControlDesign& design) const {
    // Edges rounded on their own, so that neighbours stay flush at any DPI.
    return RECT{toPixels(design.left), toPixels(design.top), toPixels(design.left + design.width),
                toPixels(design.top + design.height)};
}

void FormBinding::layoutControls() {
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        const RECT r = pixelRect(form_.control(static_cast<int>(id)).design());
        SetWindowPos(controls_[id], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormBinding::loadIcons() {
    if (!design_.iconResource) return;
    const auto load = [this](int width, int height) {
        return OwnedIcon(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(design_.iconResource),
                                                       IMAGE_ICON, width, height, 0)));
    };
    OwnedIcon big = load(dpiApi_.systemMetric(SM_CXICON, dpi_), dpiApi_.systemMetric(SM_CYICON, dpi_));
    OwnedIcon small = load(dpiApi_.systemMetric(SM_CXSMICON, dpi_), dpiApi_.systemMetric(SM_CYSMICON, dpi_));
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer shows the previous icons once they are replaced.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// --- Showing and running ---

void FormBinding::show(int showCommand) {
    ShowWindow(window_.get(), showCommand);
    UpdateWindow(window_.get());
}

int FormBinding::runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window Tab, Shift+Tab and the arrow keys.
        if (window_ && IsDialogMessageW(window_.get(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// --- Model to view ---

void FormBinding::controlChanged(int id, forms::Property what) {
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

void FormBinding::applyValue(int id) {
    const forms::Control& control = form_.control(id);
    const HWND button = controls_.at(static_cast<std::size_t>(id));
    // The model's 0, 1 and 2 are BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE.
    SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(control.value()), 0);
    if (control.kind() == forms::Kind::Option) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, control.selected() ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void FormBinding::applySelection(int id) {
    const forms::Control& control = form_.control(id);
    SendMessageW(controls_.at(static_cast<std::size_t>(id)), EM_SETSEL,
                 static_cast<WPARAM>(control.selStart()),
                 static_cast<LPARAM>(control.selStart() + control.selLength()));
}

void FormBinding::timerChanged(int timer) {
    if (window_) applyTimer(timer);
}

void FormBinding::applyTimer(int timer) {
    const UINT_PTR timerId = static_cast<UINT_PTR>(timer) + 1;
    const int interval = form_.timerInterval(timer);
    // Setting a running timer again restarts its interval.
    if (form_.timerEnabled(timer) && interval > 0)
        SetTimer(window_.get(), timerId, static_cast<UINT>(interval), nullptr);
    else
        KillTimer(window_.get(), timerId);
}

int FormBinding::toPixelPosition(float twips) const {
    // Far beyond any screen, but never wrapped around.
    const double pixels = static_cast<double>(twips) * dpi_ / twipsPerInch;
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -32000.0, 32000.0)));
}

void FormBinding::positionChanged() {
    if (!window_) return;
    SetWindowPos(window_.get(), nullptr, toPixelPosition(form_.left()), toPixelPosition(form_.top()), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The model then holds the position the window really took.
    reportPosition();
}

void FormBinding::reportPosition() {
    // A minimised window keeps the position that it will be restored to.
    if (!window_ || IsIconic(window_.get())) return;
    RECT frame;
    if (!GetWindowRect(window_.get(), &frame)) return;
    const float scale = twipsPerPixel();
    form_.viewMoved(static_cast<float>(frame.left) * scale, static_cast<float>(frame.top) * scale,
                    static_cast<float>(frame.right - frame.left) * scale,
                    static_cast<float>(frame.bottom - frame.top) * scale);
}

void FormBinding::runClosing() {
    // Once only: a close may still follow the end of the session.
    if (const std::function<void()> closing = std::exchange(closing_, nullptr)) closing();
}

// --- View to model ---

int FormBinding::controlId(HWND control) const {
    const int id = GetDlgCtrlID(control) - firstControlId;
    if (id < 0 || id >= static_cast<int>(controls_.size())) return -1;
    return controls_[static_cast<std::size_t>(id)] == control ? id : -1;
}

void FormBinding::onCommand(int id, WORD code) {
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

void FormBinding::onEditFocus(int id) {
    const HWND edit = controls_[static_cast<std::size_t>(id)];
    selectionSetInFocus_ = false;
    form_.userGotFocus(id);
    if (!selectionSetInFocus_) {
        syncSelection(id);
        return;
    }
    // A mouse click places the caret after the focus has arrived; apply the
    // handler's selection again once the click is done.
    const forms::Control& control = form_.control(id);
    PostMessageW(edit, reapplySelectionMessage, static_cast<WPARAM>(control.selStart()),
                 static_cast<LPARAM>(control.selStart() + control.selLength()));
}

void FormBinding::syncSelection(int id) {
    DWORD start = 0, end = 0;
    SendMessageW(controls_[static_cast<std::size_t>(id)], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    form_.userSelected(id, static_cast<int>(start), static_cast<int>(end) - static_cast<int>(start));
}

// --- Window procedures ---

LRESULT CALLBACK FormBinding::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* binding = static_cast<FormBinding*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        binding->window_.reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(binding));
    }
    auto* binding = reinterpret_cast<FormBinding*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!binding) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        binding->window_.release();  // already being destroyed
        binding->controls_.clear();
        binding->tooltip_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return binding->handle(window, message, wParam, lParam);
}

LRESULT FormBinding::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
            if (timer >= 0 && timer < design_.timerCount) form_.timerFired(timer);
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
            runClosing();  // the window closes whatever the handler decides
            DestroyWindow(window);
            return 0;
        case WM_ENDSESSION:
            // The system ends the program after this message, without a
            // WM_CLOSE; wParam 0 means the end of the session was cancelled.
            if (wParam) runClosing();
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
// with the binding in their user data: comctl32's SetWindowSubclass looks its
// data up in a window property on every message, which under Wine is a
// round trip to the server.
void FormBinding::subclass(int id, WNDPROC procedure) {
    const HWND control = controls_.at(static_cast<std::size_t>(id));
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    originalProcs_.at(static_cast<std::size_t>(id)) =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

FormBinding& FormBinding::bindingOf(HWND control) {
    return *reinterpret_cast<FormBinding*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT FormBinding::original(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(control) - firstControlId);
    return CallWindowProcW(originalProcs_.at(id), control, message, wParam, lParam);
}

LRESULT CALLBACK FormBinding::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return bindingOf(edit).editMessage(GetDlgCtrlID(edit) - firstControlId, message, wParam, lParam);
}

LRESULT FormBinding::editMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND edit = controls_.at(static_cast<std::size_t>(id));
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:
            return typeCharacter(id, wParam, lParam);
        case WM_UNICHAR:
            if (wParam == UNICODE_NOCHAR) return TRUE;  // yes, this window takes WM_UNICHAR
            // A character beyond 16 bits has no key code; the filter could only swallow it.
            if (wParam > 0xFFFF) return 0;
            return typeCharacter(id, wParam, lParam);
        case WM_KEYDOWN: {
            // Ctrl with a letter or Backspace makes a character (1 to 26, 127)
            // that the key press handler judges; a shortcut the edit attaches
            // to the key itself (Wine selects all on Ctrl+A) would act past it.
            // A read-only field keeps its shortcuts: they change nothing there.
            const bool control = (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000);
            const bool characterKey = (wParam >= 'A' && wParam <= 'Z') || wParam == VK_BACK;
            if (control && characterKey && !form_.control(id).design().readOnly) return 0;
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

LRESULT FormBinding::typeCharacter(int id, WPARAM character, LPARAM lParam) {
    // The key press handler sees every character first and may change or
    // swallow it; ctrl+C, ctrl+V and ctrl+X arrive here as 3, 22, 24.
    const auto code = static_cast<std::int16_t>(static_cast<std::uint16_t>(character));
    const std::int16_t kept = form_.userKeyPress(id, code);
    if (kept == 0) return 0;
    const LRESULT result = original(controls_.at(static_cast<std::size_t>(id)), WM_CHAR,
                                    static_cast<WPARAM>(static_cast<std::uint16_t>(kept)), lParam);
    syncSelection(id);
    return result;
}

LRESULT CALLBACK FormBinding::frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    const FormBinding& binding = bindingOf(frame);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            // A group box drops its children's notifications; the window handles them.
            return SendMessageW(binding.window_.get(), message, wParam, lParam);
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
    return binding.original(frame, message, wParam, lParam);
}

// --- Coloured toggles ---

// Themed push buttons ignore the text colour of WM_CTLCOLORBTN, so the
// coloured toggles draw themselves: face, coloured text, focus rectangle.
LRESULT FormBinding::drawToggle(const NMCUSTOMDRAW& draw, const forms::ControlDesign& design) {
    if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const HWND button = draw.hdr.hwndFrom;
    const HDC dc = draw.hdc;
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const bool down = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED ||
                      (draw.uItemState & CDIS_SELECTED) != 0;
    RECT face = draw.rc;
    RECT content = face;
    if (const HTHEME theme = GetWindowTheme(button)) {
        const int state = !enabled                          ? PBS_DISABLED
                          : down                            ? PBS_PRESSED
                          : (draw.uItemState & CDIS_HOT) != 0 ? PBS_HOT
                                                            : PBS_NORMAL;
        if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, state))
            DrawThemeParentBackground(button, dc, &face);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &face, nullptr);
        GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, state, &face, &content);
    } else {
        DrawFrameControl(dc, &face, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (down ? DFCS_PUSHED | DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
        InflateRect(&content, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        if (down) OffsetRect(&content, 1, 1);
    }

    const std::wstring text = windowText(button);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    const HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? RGB(design.textColour->red, design.textColour->green, design.textColour->blue)
                             : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &content,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previousFont) SelectObject(dc, previousFont);

    const auto uiState = static_cast<UINT>(SendMessageW(button, WM_QUERYUISTATE, 0, 0));
    if ((draw.uItemState & CDIS_FOCUS) != 0 && (uiState & UISF_HIDEFOCUS) == 0) {
        InflateRect(&content, -1, -1);
        DrawFocusRect(dc, &content);
    }
    return CDRF_SKIPDEFAULT;
}

}  // namespace platform::win32

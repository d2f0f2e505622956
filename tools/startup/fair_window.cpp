// The fair yardstick for start-up time: Ambrisk 2's window made by hand. The
// same manifest and icon, the same controls of the same classes and styles
// from the same layout table, the same fonts and tooltips, created with plain
// CreateWindowEx calls; no forms model, no settings, no load step.
#include "ui/layout.h"

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <cmath>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "resource_ids.h"

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int firstControlId = 100;

using platform::win32::OwnedFont;
using platform::win32::OwnedIcon;

struct Window {
    HWND handle = nullptr;
    std::vector<HWND> controls;
    std::vector<OwnedFont> fonts;
};

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

int toPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

OwnedFont createFont(const wchar_t* face, float points, int weight, bool underline, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<float>(dpi) / 72.0f));
    font.lfWeight = weight;
    font.lfUnderline = underline;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return OwnedFont(CreateFontIndirectW(&font));
}

const wchar_t* controlClass(forms::Kind kind) {
    switch (kind) {
        case forms::Kind::Label: return WC_STATICW;
        case forms::Kind::TextField: return WC_EDITW;
        default: return WC_BUTTONW;
    }
}

DWORD controlStyle(const forms::ControlDesign& design, bool firstOfGroup) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (firstOfGroup ? WS_GROUP : 0);
    if (!design.enabled) style |= WS_DISABLED;
    switch (design.kind) {
        case forms::Kind::Label:
            return style | (design.align == forms::Align::Right    ? SS_RIGHT
                            : design.align == forms::Align::Centre ? SS_CENTER
                                                                   : SS_LEFT);
        case forms::Kind::Button: return style | BS_PUSHBUTTON | WS_TABSTOP;
        case forms::Kind::Toggle: return style | BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
        case forms::Kind::CheckBox: return style | BS_3STATE | BS_MULTILINE | WS_TABSTOP;
        case forms::Kind::Frame: return style | BS_GROUPBOX;
        case forms::Kind::Option: return style | BS_RADIOBUTTON | BS_MULTILINE | (design.value ? WS_TABSTOP : 0);
        case forms::Kind::TextField:
            return style | WS_TABSTOP | (design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL) |
                   (design.readOnly ? ES_READONLY : 0) | (design.verticalScrollBar ? WS_VSCROLL : 0);
    }
    return style;
}

DWORD controlExStyle(forms::Kind kind) {
    return kind == forms::Kind::TextField ? WS_EX_CLIENTEDGE
           : kind == forms::Kind::Frame   ? WS_EX_CONTROLPARENT
                                          : 0;
}

// Group boxes paint only their border and title; under a parent that clips
// its children the inside would stay unpainted.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT inside;
        GetClientRect(frame, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(frame, GWLP_USERDATA));
    return CallWindowProcW(original, frame, message, wParam, lParam);
}

bool createControls(Window& window, HINSTANCE instance, int dpi) {
    window.fonts.push_back(createFont(L"MS Shell Dlg 2", 8.0f, FW_NORMAL, false, dpi));
    const HFONT dialogFont = window.fonts.back().get();
    for (int id = 0; id < ui::ControlCount; ++id) {
        const forms::ControlDesign& design = ui::layout[id];
        const forms::ControlDesign* previous = id > 0 ? &ui::layout[id - 1] : nullptr;
        const bool continuesOptions = design.kind == forms::Kind::Option && previous &&
                                      previous->kind == forms::Kind::Option &&
                                      previous->container == design.container;
        const HWND parent = design.container >= 0 ? window.controls[static_cast<std::size_t>(design.container)]
                                                  : window.handle;
        const HWND control = CreateWindowExW(
            controlExStyle(design.kind), controlClass(design.kind), design.text,
            controlStyle(design, !continuesOptions), toPixels(design.left, dpi), toPixels(design.top, dpi),
            toPixels(design.width, dpi), toPixels(design.height, dpi), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + id)), instance, nullptr);
        if (!control) return false;
        window.controls.push_back(control);

        HFONT font = dialogFont;
        if (design.font) {
            window.fonts.push_back(createFont(design.font->face, design.font->points, design.font->weight,
                                              design.font->underline, dpi));
            font = window.fonts.back().get();
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (design.kind == forms::Kind::TextField) {
            if (design.maxLength > 0)
                SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
            ImmAssociateContextEx(control, nullptr, 0);
        } else if (design.kind == forms::Kind::Frame) {
            const LONG_PTR original =
                SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc));
            SetWindowLongPtrW(control, GWLP_USERDATA, original);
        } else if (design.kind != forms::Kind::Label) {
            SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(design.value), 0);
        }
    }
    return true;
}

void createTooltips(const Window& window, HINSTANCE instance) {
    HWND tooltip = nullptr;
    for (int id = 0; id < ui::ControlCount; ++id) {
        if (!ui::layout[id].tooltip) continue;
        if (!tooltip)
            tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, window.handle, nullptr, instance, nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        tool.hwnd = window.handle;
        tool.uId = reinterpret_cast<UINT_PTR>(window.controls[static_cast<std::size_t>(id)]);
        tool.lpszText = const_cast<wchar_t*>(ui::layout[id].tooltip);
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            // The result field, as in Ambrisk 2, on the button face.
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == firstControlId + ui::txtResult) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);

    const int dpi = GetDeviceCaps(ScreenDc().dc, LOGPIXELSX);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    const auto loadIcon = [instance](int width, int height) {
        return OwnedIcon(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(appIconId), IMAGE_ICON, width, height, 0)));
    };
    const OwnedIcon bigIcon = loadIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    const OwnedIcon smallIcon = loadIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    windowClass.hIcon = bigIcon.get();
    windowClass.hIconSm = smallIcon.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FairWindow";
    if (!RegisterClassExW(&windowClass)) return 1;

    RECT frame{0, 0, toPixels(ui::clientWidthTwips, dpi), toPixels(ui::clientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    Window window;
    window.handle = CreateWindowExW(0, L"FairWindow", L"Fair window", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                    nullptr);
    if (!window.handle || !createControls(window, instance, dpi)) return 1;
    createTooltips(window, instance);

    ShowWindow(window.handle, showCommand);
    UpdateWindow(window.handle);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window.handle, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// DPI and fonts: the system's DPI functions, and the window's fonts, control
// rectangles and icons at the DPI of the monitor it is on.
#include "platform/win32/form_window.h"

#include <cmath>
#include <utility>

namespace platform::win32 {

namespace {

// The dialog font: "MS Shell Dlg 2" maps to the system's dialog face (Tahoma
// and its linked CJK fonts); at 8 pt the Chinese texts fit the layout.
constexpr wchar_t dialogFace[] = L"MS Shell Dlg 2";
constexpr float dialogPoints = 8.0f;

template <typename Function>
Function systemFunction(HMODULE module, const char* name) {
    // Through void(*)() so that the cast from FARPROC does not warn.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

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

}  // namespace

DpiApi::DpiApi() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    getDpiForWindow_ = systemFunction<decltype(getDpiForWindow_)>(user32, "GetDpiForWindow");
    adjustWindowRectExForDpi_ =
        systemFunction<decltype(adjustWindowRectExForDpi_)>(user32, "AdjustWindowRectExForDpi");
    getSystemMetricsForDpi_ =
        systemFunction<decltype(getSystemMetricsForDpi_)>(user32, "GetSystemMetricsForDpi");
}

UINT DpiApi::systemDpi() {
    const ScreenDc screen;
    const int dpi = GetDeviceCaps(screen.dc, LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
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

void FormWindow::applyDpi() {
    setFonts();
    loadIcons();
    form_.viewDpiChanged(forms::twipsPerPixel(static_cast<int>(dpi_)));
}

void FormWindow::fitWindowToClient() {
    const RECT frame = dpiApi_.frameForClient(toPixels(design_.clientWidthTwips),
                                              toPixels(design_.clientHeightTwips), formWindowStyle, 0, dpi_);
    SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setFonts() {
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

RECT FormWindow::pixelRect(const forms::ControlDesign& design) const {
    // Edges rounded on their own, so that neighbours stay flush at any DPI.
    return RECT{toPixels(design.left), toPixels(design.top), toPixels(design.left + design.width),
                toPixels(design.top + design.height)};
}

void FormWindow::layoutControls() {
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        const RECT r = pixelRect(form_.control(static_cast<int>(id)).design());
        SetWindowPos(controls_[id], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::loadIcons() {
    if (!iconResource_) return;
    const auto load = [this](int width, int height) {
        return OwnedIcon(static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(iconResource_), IMAGE_ICON, width, height, 0)));
    };
    OwnedIcon big = load(dpiApi_.systemMetric(SM_CXICON, dpi_), dpiApi_.systemMetric(SM_CYICON, dpi_));
    OwnedIcon small = load(dpiApi_.systemMetric(SM_CXSMICON, dpi_), dpiApi_.systemMetric(SM_CYSMICON, dpi_));
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer shows the previous icons once they are replaced.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

}  // namespace platform::win32

#include "platform/win32/form_window.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace platform::win32 {

namespace {

constexpr wchar_t windowClassName[] = L"Ambrisk2Form";

}  // namespace

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

std::unique_ptr<forms::ViewWindow> createFormWindow(forms::Form& form, const forms::WindowDesign& design,
                                                    int iconResource, HINSTANCE instance, int showCommand,
                                                    std::function<void()> closing) {
    auto window =
        std::make_unique<FormWindow>(form, design, iconResource, instance, showCommand, std::move(closing));
    if (!window->created()) return nullptr;
    return window;
}

FormWindow::FormWindow(forms::Form& form, const forms::WindowDesign& design, int iconResource, HINSTANCE instance,
                       int showCommand, std::function<void()> closing)
    : ControlView(form),
      form_(form),
      design_(design),
      iconResource_(iconResource),
      instance_(instance),
      showCommand_(showCommand),
      closing_(std::move(closing)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    dpi_ = DpiApi::systemDpi();
    const RECT frame = dpiApi_.frameForClient(toPixels(design_.clientWidthTwips),
                                              toPixels(design_.clientHeightTwips), formWindowStyle, 0, dpi_);
    // WM_NCCREATE hands the handle to window_ and this object to the window.
    CreateWindowExW(0, windowClassName, design_.title, formWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
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
    for (int timer = 0; timer < form_.timerCount(); ++timer) timerChanged(timer);
    created_ = true;
}

FormWindow::~FormWindow() {
    form_.setView(nullptr);
    window_.reset();  // normally gone already, closed by the user
}

int FormWindow::run() {
    ShowWindow(window_.get(), showCommand_);
    UpdateWindow(window_.get());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window Tab, Shift+Tab and the arrow keys.
        if (window_ && IsDialogMessageW(window_.get(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace platform::win32

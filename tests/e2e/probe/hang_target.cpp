// hang_target: a window for the end-to-end tests that stops answering for a
// while when its client area is clicked, as a program busy on its user
// interface thread does. Clicks on its title bar are handled as usual, so a
// test can size it while it answers.
//
//   hang_target <milliseconds>
//
// Each click blocks the window's thread for that long, at most maxHang, so
// the program always wakes by itself.
#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr long maxHang = 30000;
constexpr const wchar_t* windowClass = L"AmbriskHangTarget";
constexpr const wchar_t* title = L"Hang Target";

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        // The hang time rides in the window's user data: no globals needed.
        Sleep(static_cast<DWORD>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    const long hang = std::clamp(std::wcstol(commandLine, nullptr, 10), 0L, maxHang);

    WNDCLASSW windowClassInfo{};
    windowClassInfo.lpfnWndProc = windowProc;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClassInfo.lpszClassName = windowClass;
    if (!RegisterClassW(&windowClassInfo)) return 1;

    HWND window = CreateWindowW(windowClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                                nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetWindowLongPtrW(window, GWLP_USERDATA, hang);
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// hang_target: a window for the end-to-end tests that stops answering for a
// while, as a program busy on its user interface thread does.
//
//   hang_target <milliseconds>          a click into the client area hangs
//   hang_target <milliseconds> moved    a click into the client area arms a
//                                       hang in the next move or size
//
// Clicks on its title bar are handled as usual, so a test can size it while
// it answers; in the second mode it answers every message until it is moved
// after such a click. Each hang blocks the window's thread for the given
// time, at most maxHang, so the program always wakes by itself.
#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr long maxHang = 30000;
constexpr const wchar_t* windowClass = L"AmbriskHangTarget";
constexpr const wchar_t* title = L"Hang Target";

struct Behaviour {
    DWORD hang = 0;
    bool whenMoved = false;
    bool armed = false;  // the next move or size hangs
};

bool movesOrSizes(const WINDOWPOS& change) {
    return (change.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The behaviour rides in the window's user data: no globals needed.
    auto* behaviour = reinterpret_cast<Behaviour*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONDOWN:
        if (!behaviour) return 0;
        if (behaviour->whenMoved)
            behaviour->armed = true;
        else
            Sleep(behaviour->hang);
        return 0;
    case WM_WINDOWPOSCHANGING:
        if (behaviour && behaviour->armed && movesOrSizes(*reinterpret_cast<const WINDOWPOS*>(lParam))) {
            behaviour->armed = false;
            Sleep(behaviour->hang);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    wchar_t* rest = nullptr;
    Behaviour behaviour;
    behaviour.hang = static_cast<DWORD>(std::clamp(std::wcstol(commandLine, &rest, 10), 0L, maxHang));
    behaviour.whenMoved = std::wcsstr(rest, L"moved") != nullptr;

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
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&behaviour));
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

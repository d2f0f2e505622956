// refuse_creation.dll: WH_CBT hooks for the end-to-end tests, which the probe
// sets on Ambrisk2.exe's thread so that the program meets a window it cannot
// create. Never shipped.
#include <windows.h>

namespace {

bool isMainWindow(HWND window) {
    wchar_t name[32] = {};
    return window && GetClassNameW(window, name, 32) > 0 && lstrcmpW(name, L"Ambrisk2Form") == 0;
}

}  // namespace

// Refuses the main window itself.
extern "C" __declspec(dllexport) LRESULT CALLBACK refuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && isMainWindow(reinterpret_cast<HWND>(wParam))) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Refuses every control on the main window, also those inside its frames.
extern "C" __declspec(dllexport) LRESULT CALLBACK refuseControls(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if ((create.style & WS_CHILD) && create.hwndParent && isMainWindow(GetAncestor(create.hwndParent, GA_ROOT)))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

#pragma once
// The window that createFormWindow makes, private to the Win32 layer. Check
// boxes and option buttons are the non-automatic kinds, so that a click
// changes nothing until the model says so. Its member functions are defined
// by job: form_window.cpp (lifetime, message loop), form_controls.cpp (child
// controls), form_messages.cpp (window procedures, input to the model),
// form_view_updates.cpp (model to controls), form_dpi.cpp (DPI, fonts,
// layout, icons) and toggle_painting.cpp (coloured toggles).
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/twips.h"
#include "platform/win32/form_binding.h"
#include "platform/win32/win32_handles.h"

namespace platform::win32 {

constexpr int firstControlId = 100;  // dialog ID of control 0; test tools rely on it
constexpr DWORD formWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

std::wstring windowText(HWND window);

// Windows' per-monitor DPI functions where the system has them, the system
// DPI where it has not (Windows before 10, older Wine).
class DpiApi {
public:
    DpiApi();
    static UINT systemDpi();
    UINT windowDpi(HWND window) const;
    RECT frameForClient(int width, int height, DWORD style, DWORD exStyle, UINT dpi) const;
    int systemMetric(int index, UINT dpi) const;

private:
    UINT(WINAPI* getDpiForWindow_)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi_)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi_)(int, UINT) = nullptr;
};

class FormWindow final : public forms::ViewWindow, private forms::ControlView {
public:
    FormWindow(forms::Form& form, const forms::WindowDesign& design, int iconResource, HINSTANCE instance,
               int showCommand, std::function<void()> closing);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    bool created() const { return created_; }
    int run() override;  // the message loop

private:
    // Window procedures and input
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
    static FormWindow& ownerOf(HWND control);
    void subclass(int id, WNDPROC procedure);
    LRESULT original(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT editMessage(int id, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT typeCharacter(int id, char32_t character, LPARAM lParam);
    void onCommand(int id, WORD code);
    void onEditFocus(int id);
    void syncSelection(int id);

    // Controls
    bool createControls();
    bool createControl(int id, HWND parent);
    void raiseOverlappingOptions();
    void markGroups(HWND parent);
    void createTooltips();
    int controlId(HWND control) const;

    // DPI-dependent appearance
    void applyDpi();
    void fitWindowToClient();
    void loadIcons();
    void layoutControls();
    void setFonts();
    RECT pixelRect(const forms::ControlDesign& design) const;
    int toPixels(int twips) const { return forms::twipsToPixels(twips, static_cast<int>(dpi_)); }

    // Model to view (forms::ControlView)
    void showText(int id) override;
    void showValue(int id) override;
    void showEnabled(int id) override;
    void showSelection(int id) override;
    void timerChanged(int timer) override;
    void positionChanged() override;
    void reportPosition();

    LRESULT drawToggle(const NMCUSTOMDRAW& draw, const forms::ControlDesign& design);

    forms::Form& form_;
    forms::WindowDesign design_;
    int iconResource_;
    HINSTANCE instance_;
    int showCommand_;
    std::function<void()> closing_;
    DpiApi dpiApi_;
    UINT dpi_ = 96;
    OwnedWindow window_;
    std::vector<HWND> controls_;  // children of the window, destroyed with it
    std::vector<WNDPROC> originalProcs_;  // per control; set for the subclassed ones
    HWND tooltip_ = nullptr;      // owned by the window, destroyed with it
    HWND lastFocus_ = nullptr;
    OwnedFont defaultFont_;
    std::vector<OwnedFont> ownFonts_;  // per control; empty for the default font
    OwnedIcon bigIcon_, smallIcon_;
    bool created_ = false;
    bool echoing_ = false;  // the binding itself is writing a control's text
};

}  // namespace platform::win32

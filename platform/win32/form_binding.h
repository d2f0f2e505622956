#pragma once
// The Win32 view of a forms::Form: a fixed-size top-level window with one real
// control per control of the model. The model owns every value; this binding
// only mirrors it into the controls and turns what the user does into the
// model's input calls. Check boxes and option buttons are the non-automatic
// kinds, so that a click changes nothing until the model says so.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "platform/forms.h"
#include "platform/win32/win32_handles.h"

namespace platform::win32 {

struct WindowSpec {
    const wchar_t* title;
    int clientWidthTwips;
    int clientHeightTwips;
    int timerCount;
    int iconResource;
};

// Windows' per-monitor DPI functions where the system has them, the system
// DPI where it has not (Windows before 10, older Wine).
class DpiApi {
public:
    DpiApi();
    UINT windowDpi(HWND window) const;
    RECT frameForClient(int width, int height, DWORD style, DWORD exStyle, UINT dpi) const;
    int systemMetric(int index, UINT dpi) const;

private:
    UINT(WINAPI* getDpiForWindow_)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi_)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi_)(int, UINT) = nullptr;
};

class FormBinding final : private forms::FormView {
public:
    // Creates the window, hidden at the system's default position, with all
    // controls in the model's current state. `closing` runs once: when the
    // user closes the window, before it is destroyed, or when the session
    // ends while the window is open.
    FormBinding(forms::Form& form, const WindowSpec& design, HINSTANCE instance,
                std::function<void()> closing);
    ~FormBinding();
    FormBinding(const FormBinding&) = delete;
    FormBinding& operator=(const FormBinding&) = delete;

    // False when the window or one of its controls could not be created;
    // nothing is shown then and the model has no view.
    bool created() const { return created_; }
    void show(int showCommand);  // only for a window that was created
    // Dispatches messages until the window has been closed; the exit code.
    int runMessageLoop();

private:
    // forms::FormView
    void controlChanged(int id, forms::Property what) override;
    void timerChanged(int timer) override;
    void positionChanged() override;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
    static FormBinding& bindingOf(HWND control);
    void subclass(int id, WNDPROC procedure);
    LRESULT original(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT editMessage(int id, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT typeCharacter(int id, WPARAM character, LPARAM lParam);

    bool createControls();
    bool createControl(int id, HWND parent);
    void raiseOverlappingOptions();
    void markGroups(HWND parent);
    void createTooltips();
    void applyDpi();
    void fitWindowToClient();
    void loadIcons();
    void layoutControls();
    void setFonts();
    RECT pixelRect(const forms::ControlDesign& design) const;
    int toPixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }
    int toPixelPosition(float twips) const;
    float twipsPerPixel() const { return 1440.0f / static_cast<float>(dpi_); }

    int controlId(HWND control) const;
    void onCommand(int id, WORD code);
    void onEditFocus(int id);
    void syncSelection(int id);
    void applySelection(int id);
    void applyValue(int id);
    void applyTimer(int timer);
    void reportPosition();
    void runClosing();
    LRESULT drawToggle(const NMCUSTOMDRAW& draw, const forms::ControlDesign& design);

    forms::Form& form_;
    WindowSpec design_;
    HINSTANCE instance_;
    std::function<void()> closing_;
    DpiApi dpiApi_;
    UINT dpi_ = 96;
    OwnedWindow window_;
    std::vector<HWND> controls_;  // children of the window, destroyed with it
    // The window procedures that the subclassed controls had, by id.
    std::vector<WNDPROC> originalProcs_;
    HWND tooltip_ = nullptr;  // owned by the window, destroyed with it
    HWND lastFocus_ = nullptr;
    OwnedFont defaultFont_;
    std::vector<OwnedFont> ownFonts_;  // per control; empty for the default font
    OwnedIcon bigIcon_, smallIcon_;
    bool created_ = false;
    bool echoing_ = false;           // the binding itself is writing a control's text
    bool selectionSetInFocus_ = false;  // the got-focus handler chose a selection
};

}  // namespace platform::win32

#pragma once
// The Win32 view of a forms::Form: a fixed-size top-level window with one real
// control per control of the model. The model owns every value; the binding
// only mirrors it into the controls and turns what the user does into the
// model's input calls.
#include <windows.h>

#include <functional>
#include <memory>

namespace forms {
class Form;
}

namespace platform::win32 {

struct WindowSpec {
    const wchar_t* title;
    int clientWidthTwips;
    int clientHeightTwips;
    int timerCount;
    int iconResource;
};

class FormWindow;

class FormBinding final {
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
    bool created() const;
    void show(int showCommand);  // only for a window that was created
    // Dispatches messages until the window has been closed; the exit code.
    int runMessageLoop();

private:
    std::unique_ptr<FormWindow> window_;
};

}  // namespace platform::win32

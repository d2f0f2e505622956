#pragma once
// The GTK 3 view of a forms::Form: a fixed-size top-level window with one
// widget per control of the model. The model owns every value; the binding
// mirrors it into the widgets and turns what the user does into the model's
// input calls. The entry point runs gtk_main(); closing the window runs
// `closing` once and quits it.
#include <functional>
#include <memory>

namespace forms {
class Form;
}

namespace platform::gtk {

struct WindowSpec {
    const wchar_t* title;
    int clientWidthTwips;
    int clientHeightTwips;
    int timerCount;
};

class FormWindow;

class FormBinding final {
public:
    // Creates the window, realized but hidden, with all controls in the
    // model's current state; needs an X11 display opened by gtk_init.
    FormBinding(forms::Form& form, const WindowSpec& design, std::function<void()> closing);
    ~FormBinding();
    FormBinding(const FormBinding&) = delete;
    FormBinding& operator=(const FormBinding&) = delete;

    // False when the window could not be created; the model has no view then.
    bool created() const;
    void show();
    // Runs `closing` once; safe to call again (the end of the session, a
    // signal, then the window's own close).
    void runClosing();

private:
    std::unique_ptr<FormWindow> window_;
};

}  // namespace platform::gtk

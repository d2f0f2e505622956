#pragma once
// The GTK 3 view of a forms::Form: a fixed-size top-level window with one
// widget per control of the model. The model owns every value; the view
// mirrors it into the widgets and turns what the user does into the model's
// input calls.
#include <functional>
#include <memory>

#include "platform/forms.h"

namespace platform::gtk {

// Creates the window, realized but hidden, with all controls in the model's
// current state; needs an X11 display opened by gtk_init. None when the
// window could not be created, and the model has no view then. Running it
// runs gtk_main() until the window is closed, which runs `closing` and quits.
std::unique_ptr<forms::ViewWindow> createFormWindow(forms::Form& form, const forms::WindowDesign& design,
                                                    std::function<void()> closing);

}  // namespace platform::gtk

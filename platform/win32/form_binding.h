#pragma once
// The Win32 view of a forms::Form: a fixed-size top-level window with one real
// control per control of the model. The model owns every value; the view
// only mirrors it into the controls and turns what the user does into the
// model's input calls.
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/forms.h"

namespace platform::win32 {

// Creates the window, hidden at the system's default position, with all
// controls in the model's current state; none when the window or one of its
// controls could not be created, and the model has no view then. Its icon is
// the resource `iconResource` of `instance` (none for 0); running it shows it
// with `showCommand`. `closing` runs when the user closes the window, before
// it is destroyed, and when the session ends while the window is open: both
// may come, one after the other.
std::unique_ptr<forms::ViewWindow> createFormWindow(forms::Form& form, const forms::WindowDesign& design,
                                                    int iconResource, HINSTANCE instance, int showCommand,
                                                    std::function<void()> closing);

}  // namespace platform::win32

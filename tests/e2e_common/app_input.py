"""The main window driven as a user drives it: real clicks and key presses through xdotool."""

import time

from .processes import wait_for


class AppInput:
    """Mixed into a harness's main window, which gives control(name) (with its centre on the
    screen) and xdotool(*args) on the window's X screen."""

    def click(self, name):
        """A real mouse click at the control's centre."""
        self.xdotool("mousemove", *self.control(name).centre, "click", 1)
        time.sleep(0.05)

    def key(self, *names):
        """Key presses (xdotool key names, "ctrl+BackSpace") to the focused control."""
        for name in names:
            self.xdotool("key", name)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def wait_for(self, predicate, timeout=5.0, message="condition"):
        return wait_for(predicate, timeout=timeout, message=message)

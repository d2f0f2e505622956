"""The controls of a program as a screen reader reads them: a private D-Bus session bus with the
accessibility bus beside it, and the program's widgets over AT-SPI (pyatspi), found by their
accessible id, which is the control's name. Imported through harness.py, which puts the shared
e2e_common on the module path."""

import os
import signal
import subprocess

from e2e_common.processes import end_group, output, wait_for


class Bus:
    """A private D-Bus session bus and the accessibility bus that AT-SPI uses beside it."""

    def __init__(self, root):
        self.runtime = os.path.join(root, "run")
        os.makedirs(self.runtime, mode=0o700)
        env = {**os.environ, "XDG_RUNTIME_DIR": self.runtime, "HOME": root}
        env.pop("DISPLAY", None)
        self.daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
        self.address = self.daemon.stdout.readline().decode().strip()
        if not self.address:
            raise RuntimeError("dbus-daemon did not start")
        env["DBUS_SESSION_BUS_ADDRESS"] = self.address
        self.launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, start_new_session=True)
        wait_for(lambda: output(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                 "org.a11y.Bus.GetAddress"], env)[0] == 0, timeout=10, message="the AT-SPI bus")

    def env(self):
        # Nothing may turn the accessibility bridge off in the programs under test.
        return {"DBUS_SESSION_BUS_ADDRESS": self.address, "XDG_RUNTIME_DIR": self.runtime,
                "NO_AT_BRIDGE": None, "GTK_A11Y": None}

    def stop(self):
        end_group(self.launcher, signal.SIGTERM)
        end_group(self.daemon, signal.SIGTERM)
        self.daemon.stdout.close()


class Control:
    """What a screen reader knows of one control at one moment."""

    def __init__(self, name, accessible):
        import pyatspi
        states = accessible.getState()
        self.name = name
        self.role = accessible.getRoleName()
        self.accessible_name = accessible.name
        try:
            text = accessible.queryText()
            self.text = text.getText(0, -1)
            self.selection = text.getSelection(0) if text.getNSelections() else None
        except NotImplementedError:
            self.text = self.selection = None
        self.checked = states.contains(pyatspi.STATE_CHECKED)
        self.pressed = states.contains(pyatspi.STATE_PRESSED)
        self.indeterminate = states.contains(pyatspi.STATE_INDETERMINATE)
        self.enabled = states.contains(pyatspi.STATE_ENABLED)
        self.sensitive = states.contains(pyatspi.STATE_SENSITIVE)
        self.showing = states.contains(pyatspi.STATE_SHOWING)
        self.focused = states.contains(pyatspi.STATE_FOCUSED)
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.extents = (box.x, box.y, box.width, box.height)

    @property
    def centre(self):
        x, y, width, height = self.extents
        return x + width // 2, y + height // 2

    def __repr__(self):
        return f"<{self.name} {self.role} {self.text!r} checked={self.checked} sensitive={self.sensitive}>"


def controls_of(pid, title):
    """{accessible id: accessible} of the controls in the process's top-level window with this
    title, or None while it has none on the bus."""
    import pyatspi
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        for frame in app:
            if frame is not None and frame.name == title:
                found = {}
                _collect(frame, found)
                return found or None
    return None


def message_of(pid):
    """The text of the process's message box (an alert window), or None while it shows none."""
    import pyatspi
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        for frame in app:
            if frame is not None and frame.getRole() == pyatspi.ROLE_ALERT:
                labels = [child.name for child in _descendants(frame) if child.getRole() == pyatspi.ROLE_LABEL]
                return " ".join(name for name in labels if name)
    return None


def _descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from _descendants(child)


def _collect(accessible, found):
    for child in accessible:
        if child is None:
            continue
        name = child.get_accessible_id()
        if name:
            found[name] = child
        _collect(child, found)

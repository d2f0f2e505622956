"""Windows under Wine as the probe (tests/e2e/probe) reads them from outside: any top-level window
of a process the harness started, the main window with its controls, and a watch that polls the
foreground window and a control's check state. Imported through harness.py, which puts the shared
e2e_common on the module path."""

import json
import os
import subprocess
import threading
import time

from e2e_common.app_input import AppInput
from e2e_common.processes import wait_for
from e2e_common.program import CONTROL_NAMES

# A control's dialog ID is ID_BASE + its place in the table of ui/layout.h.
ID_BASE = 100
CONTROL_IDS = {name: ID_BASE + i for i, name in enumerate(CONTROL_NAMES)}
_NAMES_BY_ID = {control_id: name for name, control_id in CONTROL_IDS.items()}


class Control:
    def __init__(self, name, data):
        self.name = name
        self.id = data["id"]
        self.cls = data["class"]
        self.text = data["text"]
        self.enabled = data["enabled"]
        self.visible = data["visible"]
        self.checked = data["checked"]
        self.style = data["style"]
        self.rect = tuple(data["rect"])
        self.pos = tuple(data["pos"])

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2

    def __repr__(self):
        return f"<{self.name} {self.cls} {self.text!r} enabled={self.enabled} checked={self.checked} pos={self.pos}>"


class Window:
    """A top-level window of a process that this harness started."""

    def __init__(self, session, display, process, title):
        self.session, self.display, self.process, self.title = session, display, process, title
        self.hwnd = wait_for(lambda: self._shown_handle(), timeout=30, message=f"window {title!r}")

    def _shown_handle(self):
        if self.process.poll() is not None:
            raise AssertionError(f"{self.title!r}: process ended with code {self.process.returncode}")
        info = self.session.probe(self.display, "window", self.title, allow_missing=True)
        return info["hwnd"] if info and info.get("visible") else None

    def info(self):
        return self.session.probe(self.display, "window", self.hwnd)

    def placement(self):
        return self.session.probe(self.display, "placement", self.hwnd)

    def set_placement(self, show_cmd, left, top, right, bottom):
        return self.session.probe(self.display, "setplacement", self.hwnd, show_cmd, left, top, right, bottom)

    def move(self, left, top, right, bottom):
        """Gives the window this outer rectangle (SetWindowPos, which Wine allows across processes)."""
        return self.session.probe(self.display, "move", self.hwnd, left, top, right, bottom)

    def answers(self, timeout_ms=200):
        """True when the window's thread handles a message within timeout_ms."""
        return self.session.probe(self.display, "answers", self.hwnd, timeout_ms)["answers"]

    def xdotool(self, *args):
        return self.display.xdotool(*args)

    def click_at(self, x, y):
        self.xdotool("mousemove", x, y, "click", 1)

    def drag(self, x0, y0, x1, y1):
        self.xdotool("mousemove", x0, y0, "mousedown", 1)
        time.sleep(0.1)
        for step in range(1, 6):
            self.xdotool("mousemove", x0 + (x1 - x0) * step // 5, y0 + (y1 - y0) * step // 5)
            time.sleep(0.05)
        self.xdotool("mouseup", 1)
        time.sleep(0.2)

    def activate(self):
        """Clicks the window's title bar, which makes it the foreground window."""
        left, top, right, _ = self.info()["window"]
        self.click_at((left + right) // 2, top + 8)
        wait_for(lambda: self.session.probe(self.display, "foreground")["hwnd"] == self.hwnd,
                 message=f"{self.title!r} in the foreground")

    def screenshot(self, name):
        """Saves the window's outer rectangle as out/e2e/<name>.png and returns the path."""
        return self.display.screenshot(os.path.join(self.session.out_dir, f"{name}.png"), self.info()["window"])

    def close(self, timeout=10):
        """Asks the window to close (as its close button does) and waits for the process to end."""
        self.session.probe(self.display, "close", self.hwnd)
        self.process.wait(timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def end_session(self, ending=True):
        return self.session.probe(self.display, "endsession", self.hwnd, int(ending))


class Watch:
    """A probe that reports every change of the foreground window and of one control's check state."""

    def __init__(self, session, display, window, control_id, seconds):
        self.events = []  # (arrival time.monotonic(), event dict)
        self.process = session.spawn(display, [session.probe_exe, "watch", window, str(control_id),
                                               str(int(seconds * 1000))], stdout=subprocess.PIPE)
        self._ready = threading.Event()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        if not self._ready.wait(15):
            self.process.kill()
            raise AssertionError("watch probe did not start")

    def _read(self):
        for line in self.process.stdout:
            event = json.loads(line.decode("utf-8"))
            if event.get("ready"):
                self._ready.set()
            else:
                self.events.append((time.monotonic(), event))

    def first(self, predicate, after=0.0):
        """Arrival time of the first event after `after` that satisfies predicate, or None."""
        for arrived, event in list(self.events):
            if arrived >= after and predicate(event):
                return arrived
        return None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self._reader.join(2)


class MainWindow(AppInput, Window):
    """The main window; its controls are read by the probe, by dialog ID."""

    def controls(self):
        data = self.session.probe(self.display, "controls", self.hwnd)
        return {_NAMES_BY_ID[c["id"]]: Control(_NAMES_BY_ID[c["id"]], c) for c in data["controls"]
                if c["id"] in _NAMES_BY_ID}

    def control(self, name):
        controls = self.controls()
        if name not in controls:
            raise AssertionError(f"control {name} not found among {sorted(controls)}")
        return controls[name]

    def focused(self):
        focus = self.session.probe(self.display, "focus", self.hwnd)
        return _NAMES_BY_ID.get(focus["id"]) if focus["hwnd"] != "0x0" else None

    def selection(self, name):
        selected = self.session.probe(self.display, "selection", self.hwnd, CONTROL_IDS[name])
        return selected["start"], selected["end"]

    def watch(self, name, seconds):
        return Watch(self.session, self.display, self.hwnd, CONTROL_IDS[name], seconds)

    def post(self, name, message, wparam):
        return self.session.probe(self.display, "post", self.hwnd, CONTROL_IDS[name], message, wparam)

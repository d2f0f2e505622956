"""Harness for the end-to-end tests: the real Ambrisk2.exe under Wine on Xvfb.

Usage (a test file tests/e2e/test_<topic>.py):

    import unittest
    import harness

    class MyTest(unittest.TestCase):
        @classmethod
        def setUpClass(cls):
            cls.display = harness.session().display(1280, 1024)   # one Xvfb per size, reused

        def setUp(self):
            self.app = harness.session().start_ambrisk(self.display)  # waits for the window
            self.addCleanup(self.app.kill)                            # kill: no settings written

        def test_something(self):
            self.app.click("chkGo")                     # real mouse click at the control's centre
            self.app.wait_for(lambda: self.app.control("chkGo").checked == 1)
            self.app.key("Tab")                         # xdotool key names
            self.app.type("123")
            self.assertEqual(self.app.control("txtBorder").text, "3123")
            self.app.screenshot("my_test")              # out/e2e/my_test.png

    if __name__ == "__main__":
        harness.main()

API
  AppCase(unittest.TestCase)     a base class: cls.session, cls.display (1280 x 1024) and
                                 self.start(reset_settings=True) -> MainWindow, killed after the test.
  session() -> Session           the per-run session: one Wine prefix (created on first use, ~5-15 s),
                                 removed with every process it started when the Python process exits.
  Session.display(w, h, work_area=None) -> Display
                                 an Xvfb screen of that size, started once and reused. With work_area
                                 (x, y, width, height) its root window announces that work area
                                 (_NET_WORKAREA), as panels at the screen's edges do; Wine reports it.
  Session.two_monitor_display(first=(1280, 1024), second=(1024, 768), work_areas=None)
                                 -> TwoMonitorDisplay: two monitors (Xephyr with Xinerama): first at
                                 (0, 0), the primary; second to its right, tops aligned; work_areas,
                                 one (x, y, width, height) per monitor (_GTK_WORKAREAS_D0). Using it
                                 makes this prefix's Wine read Xinerama instead of XRandR (restarting
                                 Wine on the switch to it and away).
  Session.start_ambrisk(display, reset_settings=True) -> MainWindow
                                 starts Ambrisk2.exe and waits until its window "Ambrisk 2" is shown.
                                 reset_settings deletes SETTINGS_KEY first, so each start sees defaults.
  Session.start_notepad(display) -> Window
                                 Wine's notepad, a third-party window to click or size.
  Session.start_hang_target(display, hang_ms) -> Window
                                 a window titled HANG_TARGET_TITLE (tests/e2e/probe/hang_target.cpp)
                                 that stops answering for hang_ms after each click into its client
                                 area; clicks on its title bar do not hang it. While it hangs, read
                                 it with placement(): info() waits for its answer.
  Session.probe(display, *args) -> parsed JSON of tests/e2e/probe (see probe.cpp for the commands).
  Session.reg_query(key, value) -> str or None;  reg_add(key, value, data, kind="REG_SZ");
  Session.reg_delete(key, value=None)            the prefix's registry ('HKCU\\Software\\...').
  Session.stored_settings() -> {name: str or None} for each of SETTING_NAMES under SETTINGS_KEY.
  Session.reg_access(key, mode)  mode "readonly": nobody may set the key's values (writes fail with
                                 error 5); "writable": everybody may do everything again.
  Session.end_session(display)   ends the Wine session as a log-off does (wineboot --end-session
                                 --shutdown): every top-level window gets WM_QUERYENDSESSION and
                                 WM_ENDSESSION(1), no WM_CLOSE; then wineboot ends the programs (exit
                                 code 0).
  Session.start_refused(display, what) -> dict
                                 starts Ambrisk2.exe with a hook that refuses its main window
                                 (what="window") or the controls on it ("controls"); waits for its message
                                 box and closes it. {"hooked", "messageBox": {"title", "controls"} or None,
                                 "mainWindowShown", "ended", "exitCode"}.
  Window: info() (style, rectangles, placement, dpi), placement(), set_placement(show, l, t, r, b)
          (Wine refuses SetWindowPlacement on another process's window: this raises there),
          move(l, t, r, b) (SetWindowPos), answers(timeout_ms=200) (handles a message in time),
          click_at(x, y), drag(x0, y0, x1, y1), activate(), screenshot(name), close() (WM_CLOSE, waits
          for the process to end), kill() (ends the process at once),
          end_session(ending) (sends WM_QUERYENDSESSION, then WM_ENDSESSION with wParam 1 or 0 as a
          session end or a cancelled one would; the process is not ended).
  MainWindow(Window): controls() -> {name: Control}, control(name) -> Control, click(name), key(*names),
          type(text), focused() -> control name or None, watch(name, seconds) -> Watch (a probe polling
          the foreground window and the control's check state every 5 ms, with arrival times),
          selection(name) -> (start, end) of an entry's selected text.
          post(name, message, wparam) (PostMessage to the control, for messages no real input makes).
  Control: name, id, cls, text, enabled, visible, checked, rect (screen l, t, r, b), pos (x, y, w, h
          relative to the main window's client area), centre.
  wait_for(predicate, timeout=5, interval=0.05) -> the first true value, or raises AssertionError.
  Pixels(path): an image file's pixels: width, height, at(x, y) -> (r, g, b), most_common(left, top,
          right, bottom) -> (r, g, b). With Display.screenshot(path, control.rect) it reads what a
          control shows.

Control names are those of ui/layout.h (optRes0 .. optRes7, txtBreit, chkGo, ...); a control's
dialog ID is 100 + its place in that enum.

  shared_session(make)            the one session `make` gives in a run, closed at exit (also used by
                                 the Linux tests' harness); Result: the runners' one-line-per-test
                                 result, with counts() -> (passed, failed, skipped)
  wine_route() -> WineRoute       how this run starts Wine: name, wine (the loader every Wine process
                                 goes through), text (for logs), build. Session.route is the same.

Environment: the Wine route comes from the scripts (scripts/wine_route.sh chooses it and exports
AMBRISK_WINE_ROUTE, AMBRISK_WINE, AMBRISK_WINE_ROUTE_TEXT and AMBRISK_WIN_BUILD). What is not set is
asked of the same choice, so a plain run picks the route that scripts/test.sh would;
AMBRISK_WINE_ROUTE=native|qemu|win64 forces one. AMBRISK_WIN_BUILD (Windows build directory) and
AMBRISK_WINE (a Wine loader) given together are used as they are. AMBRISK_E2E_DISPLAYS (range of X
display numbers to use, "first-last", default 140-199), AMBRISK_E2E_OUT (screenshots, default out/e2e).
"""

import atexit
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "Ambrisk 2"
ID_BASE = 100
SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\Ambrisk2\Settings"
SETTING_NAMES = ("SelectedResolution", "CustomWidth", "CustomHeight", "AddBorder", "Border", "SubtractTaskBar",
                 "TaskBar", "TaskBarOrientation", "PosLeft", "PosTop")
X11_DRIVER_KEY = r"HKCU\Software\Wine\X11 Driver"
HANG_TARGET_TITLE = "Hang Target"  # the title of tests/e2e/probe/hang_target.cpp's window

# Fonts that Wine's dialogs and our controls ask for; each gets the CJK font linked so that
# Chinese texts render instead of boxes.
_CJK_LINK = "wqy-microhei.ttc,WenQuanYi Micro Hei"
MARLETT = "/usr/share/wine/fonts/marlett.ttf"
_LINKED_FACES = ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Arial", "Segoe UI")


def wait_for(predicate, timeout=5.0, interval=0.05, message="condition"):
    """Polls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {message}")
        time.sleep(interval)


def run(args, env=None, timeout=60):
    """Runs a command and returns (exit code, stdout bytes, stderr bytes). Output goes through
    files, not pipes: Wine's helper processes inherit the handles and would keep a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


class WineRoute:
    """How this run starts Wine: name (native, qemu, win64, or "given"), wine (the loader that every
    Wine process of the run goes through), text (one line for logs) and build (the Windows build)."""

    def __init__(self, values):
        self.name = values.get("AMBRISK_WINE_ROUTE") or "given"
        self.wine = values["AMBRISK_WINE"]
        self.text = values.get("AMBRISK_WINE_ROUTE_TEXT") or f"Wine loader {self.wine} (AMBRISK_WINE)"
        build = values["AMBRISK_WIN_BUILD"]
        self.build = build if os.path.isabs(build) else os.path.join(REPO, build)


_ROUTE_VARIABLES = ("AMBRISK_WINE_ROUTE", "AMBRISK_WINE", "AMBRISK_WINE_ROUTE_TEXT", "AMBRISK_WIN_BUILD")
_route = None


def wine_route():
    """The route that the scripts chose and exported; what they did not give is asked of the same
    choice in scripts/common.sh, so that this harness never decides a route of its own."""
    global _route
    if _route is None:
        given = {name: os.environ[name] for name in _ROUTE_VARIABLES if os.environ.get(name)}
        answer = {}
        if not ("AMBRISK_WINE" in given and "AMBRISK_WIN_BUILD" in given):
            asked = subprocess.run(["bash", "-c", 'source "$0" && choose_route_and_build >&2 && print_route_and_build',
                                    os.path.join(REPO, "scripts", "common.sh")], stdout=subprocess.PIPE, text=True)
            if asked.returncode != 0:
                raise RuntimeError("no Wine route works on this machine (scripts/wine_route.sh)")
            answer = dict(line.split("=", 1) for line in asked.stdout.splitlines() if "=" in line)
            if "AMBRISK_WINE" in given:
                # A loader of the caller's own: the route's name and text were not about it.
                answer = {"AMBRISK_WIN_BUILD": answer["AMBRISK_WIN_BUILD"]}
        _route = WineRoute({**answer, **given})
    return _route


def runs_under_qemu(pid):
    """True when the process is qemu-user running a program of another architecture."""
    with open(f"/proc/{pid}/maps") as f:
        return any(line.rstrip().endswith("/qemu-i386") for line in f)


def _control_names():
    """Control names in dialog-ID order, read from the enum in ui/layout.h."""
    with open(os.path.join(REPO, "ui", "layout.h"), encoding="utf-8") as f:
        body = re.search(r"enum Ctl\s*:\s*int\s*\{(.*?)ControlCount", f.read(), re.S).group(1)
    body = re.sub(r"//[^\n]*", "", body)
    return [name.strip() for name in body.split(",") if name.strip()]


CONTROL_NAMES = _control_names()
CONTROL_IDS = {name: ID_BASE + i for i, name in enumerate(CONTROL_NAMES)}


def prepare_prefix(wine, env):
    """Creates the Wine prefix named in env (or updates an existing one) for our windows: Wine draws
    the frames itself, as there is no window manager on a virtual display, and a CJK font is linked
    to the dialog fonts so that Chinese renders instead of boxes."""
    code, _, err = run([wine, "wineboot", "-i"], env=env, timeout=180)
    if code != 0:
        raise RuntimeError(f"creating the Wine prefix failed: {err.decode(errors='replace')}")
    # Wine draws the caption buttons with Marlett, which this Wine build does not find in its own
    # data folder; a copy in the prefix's font folder is always found. (Only Marlett: with Wine's
    # Tahoma present, edit controls show Chinese as boxes.)
    fonts = os.path.join(env["WINEPREFIX"], "drive_c", "windows", "Fonts")
    if os.path.exists(MARLETT) and os.path.isdir(fonts):
        shutil.copy(MARLETT, fonts)
    commands = [[r"HKCU\Software\Wine\X11 Driver", name, "N", "REG_SZ"] for name in ("Managed", "Decorated")]
    link = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
    commands += [[link, face, _CJK_LINK, "REG_MULTI_SZ"] for face in _LINKED_FACES]
    for key, value, data, kind in commands:
        code, _, err = run([wine, "reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"], env=env)
        if code != 0:
            raise RuntimeError(f"reg add {key} {value} failed: {err.decode(errors='replace')}")
    run(["wineserver", "-w"], env=env, timeout=120)


class Pixels:
    """The RGB pixels of an image file, read through ImageMagick as binary PPM."""

    def __init__(self, path):
        code, data, err = run(["convert", path, "-depth", "8", "ppm:-"])
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if code != 0 or not header:
            raise RuntimeError(f"cannot read {path}: {err.decode(errors='replace')}")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self._data = data[header.end():]

    def at(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self._data[offset:offset + 3])

    def most_common(self, left=0, top=0, right=None, bottom=None):
        counts = {}
        for y in range(top, self.height if bottom is None else bottom):
            for x in range(left, self.width if right is None else right):
                colour = self.at(x, y)
                counts[colour] = counts.get(colour, 0) + 1
        return max(counts, key=counts.get)


def _start_x_server(numbers, command, env=None):
    """Starts command(number), an X server, on the first free display number of numbers and returns
    (number, process)."""
    for number in numbers:
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        process = subprocess.Popen(command(number), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: process.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{number}"),
                     timeout=10, message=command(number)[0])
        except AssertionError:
            process.kill()
            continue
        if process.poll() is None:
            return number, process
    raise RuntimeError(f"no free X display in {numbers[0]}..{numbers[-1]}")


class Display:
    """An Xvfb screen that this harness started; stopped by pid. With work_area = (x, y, width,
    height) the root window announces that work area (_NET_WORKAREA), as a desktop with panels does."""

    # Wine X11 driver settings (HKCU\Software\Wine\X11 Driver) that this display needs.
    x11_driver = {}

    def __init__(self, width, height, numbers, work_area=None):
        self.width, self.height = width, height
        # -noreset: the root window's properties outlive the last client.
        self.number, self.process = _start_x_server(numbers, lambda number: [
            "Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"])
        self.name = f":{self.number}"
        if work_area:
            subprocess.run(["xprop", "-display", self.name, "-root", "-f", "_NET_WORKAREA", "32c",
                            "-set", "_NET_WORKAREA", ",".join(map(str, work_area))], check=True)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, env={**os.environ, "DISPLAY": self.name})

    def screenshot(self, path, crop=None):
        """Saves the screen, or the rectangle crop = (left, top, right, bottom), as PNG."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        args = ["import", "-display", self.name, "-window", "root"]
        if crop:
            left, top, right, bottom = (max(0, v) for v in crop)
            args += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
        subprocess.run(args + [path], check=True)
        return path

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class TwoMonitorDisplay(Display):
    """Two monitors side by side, first (width, height) on the left as the primary, second to its
    right, tops aligned: Xephyr with Xinerama, which shows each monitor in a window of a private
    Xvfb. Wine reads Xinerama's monitors only when it does not use XRandR. With work_areas (one
    (x, y, width, height) per monitor) the root window announces them (_GTK_WORKAREAS_D0), as panels
    on single monitors do."""

    x11_driver = {"UseXRandR": "N"}

    def __init__(self, first, second, numbers, work_areas=None):
        (first_width, first_height), (second_width, second_height) = first, second
        self.width, self.height = first_width + second_width, max(first_height, second_height)
        self.host = Display(max(first_width, second_width), self.height, numbers)
        self.number, self.process = _start_x_server(
            [n for n in numbers if n != self.host.number],
            lambda number: ["Xephyr", f":{number}", "+xinerama", "-noreset", "-nolisten", "tcp",
                            "-screen", f"{first_width}x{first_height}", "-origin", f"{first_width},0",
                            "-screen", f"{second_width}x{second_height}"],
            env={**os.environ, "DISPLAY": self.host.name})
        self.name = f":{self.number}"
        if work_areas:
            subprocess.run(["xprop", "-display", self.name, "-root", "-f", "_GTK_WORKAREAS_D0", "32c",
                            "-set", "_GTK_WORKAREAS_D0", ",".join(str(v) for area in work_areas for v in area)],
                           check=True)

    def stop(self):
        super().stop()
        self.host.stop()


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

    def click_at(self, x, y):
        self.display.xdotool("mousemove", x, y, "click", 1)

    def drag(self, x0, y0, x1, y1):
        self.display.xdotool("mousemove", x0, y0, "mousedown", 1)
        time.sleep(0.1)
        for step in range(1, 6):
            self.display.xdotool("mousemove", x0 + (x1 - x0) * step // 5, y0 + (y1 - y0) * step // 5)
            time.sleep(0.05)
        self.display.xdotool("mouseup", 1)
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


class MainWindow(Window):
    def controls(self):
        data = self.session.probe(self.display, "controls", self.hwnd)
        names = {ID_BASE + i: name for i, name in enumerate(CONTROL_NAMES)}
        return {names[c["id"]]: Control(names[c["id"]], c) for c in data["controls"] if c["id"] in names}

    def control(self, name):
        controls = self.controls()
        if name not in controls:
            raise AssertionError(f"control {name} not found among {sorted(controls)}")
        return controls[name]

    def click(self, name):
        self.click_at(*self.control(name).centre)
        time.sleep(0.05)

    def key(self, *names):
        for name in names:
            self.display.xdotool("key", name)

    def type(self, text):
        self.display.xdotool("type", "--delay", 30, text)

    def focused(self):
        focus = self.session.probe(self.display, "focus", self.hwnd)
        names = {ID_BASE + i: name for i, name in enumerate(CONTROL_NAMES)}
        return names.get(focus["id"]) if focus["hwnd"] != "0x0" else None

    def selection(self, name):
        selected = self.session.probe(self.display, "selection", self.hwnd, CONTROL_IDS[name])
        return selected["start"], selected["end"]

    def watch(self, name, seconds):
        return Watch(self.session, self.display, self.hwnd, CONTROL_IDS[name], seconds)

    def post(self, name, message, wparam):
        return self.session.probe(self.display, "post", self.hwnd, CONTROL_IDS[name], message, wparam)

    def wait_for(self, predicate, timeout=5.0, message="condition"):
        return wait_for(predicate, timeout=timeout, message=message)


class Session:
    """One Wine prefix and the displays, processes and screenshots of one test run."""

    def __init__(self):
        self.route = wine_route()
        build = self.route.build
        self.exe = os.path.join(build, "Ambrisk2.exe")
        self.probe_exe = os.path.join(build, "tests", "e2e", "probe", "probe.exe")
        self.hang_target_exe = os.path.join(build, "tests", "e2e", "probe", "hang_target.exe")
        for path in (self.exe, self.probe_exe):
            if not os.path.exists(path):
                raise RuntimeError(f"{path} is missing: build the Windows build first")
        self.wine = self.route.wine
        self._route_checked = False
        self.out_dir = os.environ.get("AMBRISK_E2E_OUT") or os.path.join(REPO, "out", "e2e")
        first, _, last = os.environ.get("AMBRISK_E2E_DISPLAYS", "140-199").partition("-")
        self._numbers = list(range(int(first), int(last or first) + 1))
        self._root = tempfile.mkdtemp(prefix="ambrisk-e2e-")
        self.prefix = os.path.join(self._root, "pfx")
        self._displays = {}
        self._wine_display = None  # the display that this prefix's Wine processes currently use
        self._x11_driver = {}  # the display-dependent X11 driver settings now in the prefix
        self._processes = []
        self._prefix_ready = False

    # -- displays and processes --------------------------------------------------------------

    def display(self, width, height, work_area=None):
        key = (width, height, work_area)
        if key not in self._displays:
            used = {d.number for d in self._displays.values()}
            self._displays[key] = Display(width, height, [n for n in self._numbers if n not in used], work_area)
        return self._displays[key]

    def two_monitor_display(self, first=(1280, 1024), second=(1024, 768), work_areas=None):
        key = ("two monitors", first, second, work_areas)
        if key not in self._displays:
            self._displays[key] = TwoMonitorDisplay(first, second, self._numbers, work_areas)
        return self._displays[key]

    def env(self, display):
        return {**os.environ, "WINEPREFIX": self.prefix, "WINEDEBUG": "-all", "DISPLAY": display.name,
                "WINEDLLOVERRIDES": "mscoree,mshtml=", "LC_ALL": "C.UTF-8"}

    def _use(self, display):
        """Wine keeps the screen of the display its first process saw, so a prefix serves one
        display at a time: switching ends this prefix's Wine processes first."""
        if not self._prefix_ready:
            self._create_prefix(display)
        if self._wine_display is not display:
            if self._wine_display is not None:
                self.stop_wine()
            self._wine_display = display
        if display.x11_driver != self._x11_driver:
            self._set_x11_driver(display.x11_driver)

    def _set_x11_driver(self, values):
        """Gives Wine's X11 driver the settings that the current display needs, and restarts this
        prefix's Wine, which reads them when it starts."""
        env = self.env(self._wine_display)
        for name in set(values) | set(self._x11_driver):
            if name not in values:
                run([self.wine, "reg", "delete", X11_DRIVER_KEY, "/v", name, "/f"], env=env)
                continue
            code, _, err = run([self.wine, "reg", "add", X11_DRIVER_KEY, "/v", name, "/d", values[name], "/f"],
                               env=env)
            if code != 0:
                raise RuntimeError(f"reg add {X11_DRIVER_KEY} {name} failed: {err.decode(errors='replace')}")
        self._x11_driver = dict(values)
        self.stop_wine()

    def _create_prefix(self, display):
        self._wine_display = display
        self._prefix_ready = True
        prepare_prefix(self.wine, self.env(display))

    def spawn(self, display, args, **kwargs):
        self._use(display)
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen([self.wine, *args], env=self.env(display), stdin=subprocess.DEVNULL,
                                   cwd=os.path.dirname(args[0]) if os.path.isabs(args[0]) else None, **kwargs)
        self._processes.append(process)
        return process

    def probe(self, display, *args, allow_missing=False):
        self._use(display)
        code, out, _ = run([self.wine, self.probe_exe, *map(str, args)], env=self.env(display), timeout=30)
        text = out.decode("utf-8").strip()
        if code == 2 and allow_missing:
            return None
        if code != 0:
            raise AssertionError(f"probe {' '.join(map(str, args))} failed ({code}): {text}")
        return json.loads(text)

    def start_ambrisk(self, display, reset_settings=True):
        self._use(display)
        if reset_settings:
            self.reg_delete(SETTINGS_KEY)
        window = MainWindow(self, display, self.spawn(display, [self.exe]), TITLE)
        self._check_route(window.process.pid)
        return window

    def _check_route(self, pid):
        """Makes sure, once per run, that the qemu route really runs the program under qemu-user,
        and not natively on a kernel that happens to run 32-bit code."""
        if self.route.name == "qemu" and not self._route_checked:
            if not runs_under_qemu(pid):
                raise RuntimeError(f"route qemu: {self.exe} (pid {pid}) does not run under qemu-i386")
            self._route_checked = True

    def start_notepad(self, display):
        return Window(self, display, self.spawn(display, ["notepad"]), "Untitled - Notepad")

    def start_refused(self, display, what):
        # Wine's drive Z: is the Unix root.
        return self.probe(display, "refusecreation", "Z:" + self.exe.replace("/", "\\"), what)

    def end_session(self, display):
        self._use(display)
        code, _, err = run([self.wine, "wineboot", "--end-session", "--shutdown"], env=self.env(display))
        if code != 0:
            raise AssertionError(f"wineboot --end-session failed ({code}): {err.decode(errors='replace')}")

    def start_hang_target(self, display, hang_ms):
        """A window that stops answering for hang_ms after each click into its client area."""
        if not os.path.exists(self.hang_target_exe):
            raise RuntimeError(f"{self.hang_target_exe} is missing: build the Windows build first")
        return Window(self, display, self.spawn(display, [self.hang_target_exe, str(hang_ms)]), HANG_TARGET_TITLE)

    # -- registry --------------------------------------------------------------------------

    def _reg(self, *args):
        display = self._wine_display or self.display(1280, 1024)
        self._use(display)
        return run([self.wine, "reg", *args], env=self.env(display))

    def reg_query(self, key, value):
        code, out, _ = self._reg("query", key, "/v", value)
        if code != 0:
            return None
        for line in out.decode("utf-8", "replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == value.lower() and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None

    def reg_add(self, key, value, data, kind="REG_SZ"):
        code, _, err = self._reg("add", key, "/v", value, "/t", kind, "/d", data, "/f")
        if code != 0:
            raise AssertionError(f"reg add {key} {value} failed: {err.decode(errors='replace')}")

    def reg_delete(self, key, value=None):
        """Deletes a value, or the whole key; a missing one is no error."""
        self._reg("delete", key, *(["/v", value] if value else []), "/f")

    def stored_settings(self):
        return {name: self.reg_query(SETTINGS_KEY, name) for name in SETTING_NAMES}

    def reg_access(self, key, mode):
        display = self._wine_display or self.display(1280, 1024)
        return self.probe(display, "keyaccess", key.split("\\", 1)[1], mode)

    # -- ending ----------------------------------------------------------------------------

    def stop_wine(self):
        """Ends every Wine process of this prefix (and only of this prefix)."""
        if self._wine_display is not None:
            run(["wineserver", "-k"], env=self.env(self._wine_display))
            run(["wineserver", "-w"], env=self.env(self._wine_display))
        for process in self._processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        self._processes.clear()

    def close(self):
        self.stop_wine()
        for display in self._displays.values():
            display.stop()
        self._displays.clear()
        shutil.rmtree(self._root, ignore_errors=True)


_sessions = {}


def shared_session(make):
    """The one session that `make` gives in this test run, made on first use and closed when Python
    exits."""
    if make not in _sessions:
        _sessions[make] = made = make()
        atexit.register(made.close)
        # An interrupted run still ends its own processes.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    return _sessions[make]


def session():
    """The session of this test run."""
    return shared_session(Session)


class Result(unittest.TextTestResult):
    """Prints one line per test; a test with a failed subtest counts as one failure."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.outcomes = {}  # test id -> PASS, FAIL, ERROR or SKIP

    def startTest(self, test):
        self._started = time.monotonic()
        self.outcomes[test.id()] = "PASS"
        unittest.TestResult.startTest(self, test)

    def stopTest(self, test):
        unittest.TestResult.stopTest(self, test)
        self.stream.write(f"{self.outcomes[test.id()]:<5} {test.id()}  ({time.monotonic() - self._started:.1f} s)\n")
        self.stream.flush()

    def _mark(self, test, outcome):
        test_id = getattr(test, "test_case", test).id()
        if self.outcomes.get(test_id) in (None, "PASS", "SKIP"):
            self.outcomes[test_id] = outcome

    def addSuccess(self, test):
        unittest.TestResult.addSuccess(self, test)

    def addFailure(self, test, err):
        unittest.TestResult.addFailure(self, test, err)
        self._mark(test, "FAIL")

    def addError(self, test, err):
        unittest.TestResult.addError(self, test, err)
        self._mark(test, "ERROR")

    def addSkip(self, test, reason):
        unittest.TestResult.addSkip(self, test, reason)
        self._mark(test, "SKIP")

    def addSubTest(self, test, subtest, err):
        unittest.TestResult.addSubTest(self, test, subtest, err)
        if err is not None:
            self._mark(test, "FAIL")

    def counts(self):
        """(passed, failed, skipped); errors outside a test (a failed setUpClass, a module that
        does not import) count as failures too."""
        outcomes = list(self.outcomes.values())
        failed = outcomes.count("FAIL") + outcomes.count("ERROR")
        failed += sum(1 for test, _ in self.errors if test.id() not in self.outcomes)
        return outcomes.count("PASS"), failed, outcomes.count("SKIP")


class AppCase(unittest.TestCase):
    """Tests that start the main window on a 1280 x 1024 screen; each start is killed after its test."""

    @classmethod
    def setUpClass(cls):
        cls.session = session()
        cls.display = cls.session.display(1280, 1024)

    def start(self, reset_settings=True):
        app = self.session.start_ambrisk(self.display, reset_settings=reset_settings)
        self.addCleanup(app.kill)
        return app


def main():
    """Runs the tests of the calling module (for running one test file on its own)."""
    unittest.main(module="__main__", verbosity=2)

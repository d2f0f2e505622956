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
  Session.start_hang_target(display, hang_ms, when_moved=False) -> Window
                                 a window titled HANG_TARGET_TITLE (tests/e2e/probe/hang_target.cpp)
                                 that stops answering for hang_ms after each click into its client
                                 area (when_moved: in the first move or size after such a click, in
                                 WM_WINDOWPOSCHANGING); clicks on its title bar do not. While it hangs, read
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
  wine_route() -> WineRoute       how this run starts Wine: name, wine (the loader every Wine process
                                 goes through), text (for logs), build. Session.route is the same.

Control names are those of ui/layout.h (optRes0 .. optRes7, txtBreit, chkGo, ...: CONTROL_NAMES); a
control's dialog ID is 100 + its place in that enum (CONTROL_IDS).

Where it is: this file holds the session and the test base; wine.py the Wine route and the prefix's
set-up; wine_windows.py the windows, controls and watch as the probe reads them. What the Linux
suite uses too (waiting, the virtual displays, Pixels, the control table, the per-test result and
the runner) is in tests/e2e_common.

Environment: the Wine route comes from the scripts (scripts/wine_route.sh chooses it and exports
AMBRISK_WINE_ROUTE, AMBRISK_WINE, AMBRISK_WINE_ROUTE_TEXT and AMBRISK_WIN_BUILD). What is not set is
asked of the same choice, so a plain run picks the route that scripts/test.sh would;
AMBRISK_WINE_ROUTE=native|qemu|win64 forces one. AMBRISK_WIN_BUILD (Windows build directory) and
AMBRISK_WINE (a Wine loader) given together are used as they are. AMBRISK_E2E_DISPLAYS (range of X
display numbers to use, "first-last", default 140-199), AMBRISK_E2E_OUT (screenshots, default out/e2e).
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

# tests/: the support that both end-to-end suites share.
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Besides what this file uses, the tests reach wait_for, Pixels, CONTROL_NAMES, CONTROL_IDS, Control
# and main through it (F401).
from e2e_common.processes import run, shared_session, wait_for  # noqa: E402,F401
from e2e_common.program import CONTROL_NAMES, REPO, SETTING_NAMES, TITLE  # noqa: E402,F401
from e2e_common.runner import main  # noqa: E402,F401
from e2e_common.screens import Display, Pixels, TwoMonitorDisplay, display_numbers  # noqa: E402,F401
from wine import X11_DRIVER_KEY, prepare_prefix, runs_under_qemu, wine_route, x11_driver_settings  # noqa: E402
from wine_windows import CONTROL_IDS, Control, MainWindow, Window  # noqa: E402,F401

SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\Ambrisk2\Settings"
HANG_TARGET_TITLE = "Hang Target"  # the title of tests/e2e/probe/hang_target.cpp's window


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
        self._numbers = display_numbers("AMBRISK_E2E_DISPLAYS", "140-199")
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
        needed = x11_driver_settings(display)
        if needed != self._x11_driver:
            self._set_x11_driver(needed)

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

    def start_hang_target(self, display, hang_ms, when_moved=False):
        """A window that stops answering for hang_ms after each click into its client area, or, when_moved,
        in the first move or size after such a click."""
        if not os.path.exists(self.hang_target_exe):
            raise RuntimeError(f"{self.hang_target_exe} is missing: build the Windows build first")
        args = [self.hang_target_exe, str(hang_ms), *(["moved"] if when_moved else [])]
        return Window(self, display, self.spawn(display, args), HANG_TARGET_TITLE)

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


def session():
    """The session of this test run."""
    return shared_session(Session)


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

"""Harness for the end-to-end tests of the Linux edition: the real `ambrisk2` on an X11 desktop.

Each desktop is an Xvfb screen (one monitor, or two RandR monitors) run by a real window manager:
Openbox (EWMH, click to focus) unless a test asks for another (WINDOW_MANAGERS). The whole run shares one private D-Bus session bus with its accessibility bus, so
the tests read the program's controls from outside as a screen reader does (AT-SPI through
pyatspi), by their accessible id, which is the control's name (txtBreit, optRes(2), chkGo, ...).
Other programs' windows are read with xwininfo and xprop (_NET_FRAME_EXTENTS, _NET_WM_STATE), so
the outer frame is measured independently of the program.

Usage (a test file tests/e2e_linux/test_<topic>.py):

    import harness

    class MyTest(harness.DesktopCase):                 # one 1280 x 1024 desktop for the class
        def test_something(self):
            app = self.start_ambrisk()                 # private $HOME; ended after the test
            xterm = self.start(["xterm"], "xterm")     # any program, found by its title
            app.click("chkGo")                         # real mouse click at the control's centre
            xterm.click_inside()
            app.wait_for(lambda: "调整到" in app.control("txtResult").text)
            self.assertEqual(xterm.frame()[2:], (1030, 746))

API
  session() -> Session             the run's bus and desktops; everything it started ends at exit.
  Session.desktop(w, h, wm="openbox") -> Desktop
                                   one Xvfb screen of that size run by that window manager
                                   (WINDOW_MANAGERS), started once, reused.
  Session.two_monitor_desktop(first, second) -> Desktop
                                   one screen as two RandR monitors: first (w, h) at (0, 0), the
                                   primary; second to its right, tops aligned.
  Desktop: name, width, height, env(home), xdotool(*args) -> str, xprop_root(name) -> [int],
           active_window() -> X id or None, screenshot(path, crop=None) (crop: l, t, r, b).
  Desktop.start(args, title, home=None) -> Window   starts a program in its own process group and
                                   waits for its top-level window (exact title, shown).
  Desktop.start_dock(height) -> Window   a dock window across the top with a matching strut.
  GTK_WINDOWS: gtk_windows.py, which shows GTK windows of other kinds (a header bar, a desktop).
  Window: xid, process, frame() -> (x, y, w, h) outer frame, client() -> (x, y, w, h),
          move(x, y) (the frame's corner), property(name) -> [numbers or atom names],
          state() -> set of _NET_WM_STATE names, activate() (clicks the title bar),
          click_inside(), toggle_maximised() (double click on the title bar), close() (Alt+F4
          through the window manager, waits for the end), terminate() (SIGTERM, waits), kill().
  Session.start_ambrisk(desktop, home=None, launcher=()) -> Ambrisk(Window)   a private home unless
          one is given; launcher: a command that runs the program (setpriv ...).
  Ambrisk: home, settings_path, settings() -> {key: value} of [Settings] or None when there is no
          file, stderr() -> what the program wrote there so far, message() -> the text of its
          message box or None, control(name) -> Control, click(name), key(*names), type(text),
          wait_for(predicate, timeout) -> value.
  Control: name, role, accessible_name, text, selection ((start, end) or None), checked, pressed, indeterminate, enabled, sensitive, showing,
          focused, extents (x, y, w, h on the screen), centre.
  DesktopCase(unittest.TestCase): cls.session, cls.desktop (width x height run by wm, class
          attributes: 1280 x 1024, "openbox"); self.start(args, title),
          self.start_ambrisk(home=None, desktop=None, launcher=()): ended by the test's clean-up.
  wait_for(predicate, timeout=5, interval=0.05), end_group(process), TITLE, CONTROL_NAMES (the
          controls of ui/layout.h), SETTING_NAMES: from tests/e2e_common, which the Windows suite
          shares.

Where it is: this file holds the desktops, windows and session; accessibility.py the private bus
and the controls read over AT-SPI; tests/e2e_common the display, waiting, input and runner pieces
that both suites share.

Environment: AMBRISK_LINUX_EXE (the program, default build-host/ambrisk2), AMBRISK_E2E_LINUX_DISPLAYS
(X display numbers, "first-last", default 200-239), AMBRISK_E2E_LINUX_OUT (screenshots, default
out/e2e_linux). Tests skip when the program was not built (no GTK 3 or X11 on the build machine).
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
# tests/: the support that both end-to-end suites share.
sys.path.insert(0, os.path.dirname(HERE))
# Besides what this file uses, the tests reach CONTROL_NAMES, SETTING_NAMES and main through it (F401).
from accessibility import Bus, Control, controls_of, message_of  # noqa: E402
from e2e_common.app_input import AppInput  # noqa: E402
from e2e_common.processes import end_group, output, shared_session, wait_for  # noqa: E402
from e2e_common.program import CONTROL_NAMES, REPO, SETTING_NAMES, TITLE, LinuxRunFiles  # noqa: E402,F401
from e2e_common.runner import main  # noqa: E402,F401
from e2e_common.screens import Display, display_numbers, randr_two_monitors  # noqa: E402

EXE_NAME = "ambrisk2"
GTK_WINDOWS = os.path.join(HERE, "gtk_windows.py")

# The window managers a desktop can have: Openbox as it comes; Openbox with the focus following
# the pointer at once; xfwm4 with its compositor (GTK's header-bar windows then draw their own
# shadow); i3 with every window floating (it announces no frame extents).
WINDOW_MANAGERS = ("openbox", "openbox-follow-mouse", "xfwm4", "i3")
I3_CONFIG = "# i3 config file (v4)\nfont pango:monospace 8\nfor_window [class=\".*\"] floating enable\n"


def exe_path():
    path = os.environ.get("AMBRISK_LINUX_EXE") or os.path.join(REPO, "build-host", EXE_NAME)
    return path if os.path.isabs(path) else os.path.join(REPO, path)


def window_manager(wm, config):
    """The command that runs this window manager, with its configuration files in the folder config."""
    if wm == "openbox":
        return ["openbox", "--sm-disable"]
    if wm == "openbox-follow-mouse":
        with open("/etc/xdg/openbox/rc.xml", encoding="utf-8") as f:
            rc = f.read()
        for old, new in (("<followMouse>no<", "<followMouse>yes<"), ("<focusDelay>200<", "<focusDelay>0<")):
            if old not in rc:
                raise RuntimeError(f"Openbox's rc.xml has no {old}")
            rc = rc.replace(old, new)
        path = os.path.join(config, "rc.xml")
        with open(path, "w", encoding="utf-8") as f:
            f.write(rc)
        return ["openbox", "--sm-disable", "--config-file", path]
    if wm == "xfwm4":
        return ["xfwm4", "--compositor=on", "--sm-client-disable"]
    if wm == "i3":
        path = os.path.join(config, "i3.conf")
        with open(path, "w", encoding="utf-8") as f:
            f.write(I3_CONFIG)
        return ["i3", "-c", path]
    raise ValueError(f"unknown window manager {wm!r}")


class Desktop:
    """An X server run by a window manager. Processes started on it end with the test that started
    them."""

    def __init__(self, session, server, width, height, wm="openbox"):
        self.session, self.server, self.width, self.height = session, server, width, height
        self.name, self.wm_name = server.name, wm
        config = tempfile.mkdtemp(prefix=f"{wm}-", dir=session.root)
        command = window_manager(wm, config)
        if not shutil.which(command[0]):
            server.stop()
            raise unittest.SkipTest(f"{wm} is not installed")
        self.wm = subprocess.Popen(command, env=self.env(config), stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            wait_for(lambda: self.xprop_root("_NET_SUPPORTING_WM_CHECK"), timeout=10, message=wm)
        except AssertionError:
            self.stop()
            raise

    def env(self, home=None):
        home = home or self.session.root
        env = {**os.environ, "DISPLAY": self.name, "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
               "XDG_CACHE_HOME": os.path.join(home, ".cache"), "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8",
               "GDK_BACKEND": "x11"}
        for key, value in self.session.bus.env().items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def xdotool(self, *args):
        return self.server.xdotool(*args)

    def _xprop(self, target, name):
        code, out = output(["xprop", "-notype", *target, name], self.env())
        if code != 0 or "not found" in out or "no such atom" in out:
            return []
        # "NAME = 1, 2" for numbers and atoms, "NAME: window id # 0x..." for windows.
        values = out.split(name, 1)[-1].lstrip(" :=").replace("window id #", "").split(",")
        return [int(v, 0) if v.strip()[:1].isdigit() else v.strip() for v in values if v.strip()]

    def xprop_root(self, name):
        return self._xprop(["-root"], name)

    def active_window(self):
        values = self.xprop_root("_NET_ACTIVE_WINDOW")
        return values[0] if values and values[0] else None

    def screenshot(self, path, crop=None):
        return self.server.screenshot(path, crop)

    def find_window(self, title, pid=None):
        """X id of the shown top-level window with exactly this title (of process pid, if given)."""
        args = ["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"]
        code, out = output(args, self.env())
        ids = [int(line) for line in out.split()] if code == 0 else []
        if pid is not None:
            ids = [xid for xid in ids if self._xprop(["-id", str(xid)], "_NET_WM_PID") in ([], [pid])]
        return ids[0] if ids else None

    def start(self, args, title, home=None, window_class=None, stderr=subprocess.DEVNULL):
        process = self.session.spawn(args, self.env(home), stderr)
        xid = wait_for(lambda: self._found(process, title), timeout=20, message=f"window {title!r}")
        return (window_class or Window)(self, process, xid)

    def _found(self, process, title):
        if process.poll() is not None:
            raise AssertionError(f"{title!r}: process ended with code {process.returncode}")
        return self.find_window(title, process.pid)

    def start_dock(self, height):
        """A dock window across the top of the first monitor that keeps `height` pixels for itself."""
        return self.start([sys.executable, GTK_WINDOWS, "dock", str(height)], "Test Dock")

    def stop(self):
        end_group(self.wm, signal.SIGTERM)
        self.server.stop()


class Window:
    """A top-level window of a process that this harness started."""

    def __init__(self, desktop, process, xid):
        self.desktop, self.process, self.xid = desktop, process, xid

    def xdotool(self, *args):
        return self.desktop.xdotool(*args)

    def _xwininfo(self, xid, *options):
        code, out = output(["xwininfo", *options, "-id", str(xid)], self.desktop.env())
        if code != 0:
            raise AssertionError(f"xwininfo -id {xid} failed")
        return dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)

    def client(self, xid=None):
        fields = self._xwininfo(xid or self.xid)
        return tuple(int(fields[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def _frame_window(self):
        """The window the window manager put the client in (the client's ancestor below the root), or
        None when the client is not put in one."""
        xid, top = self.xid, None
        while True:
            fields = self._xwininfo(xid, "-children")
            parent = int(fields["Parent window id"].split()[0], 16)
            if parent == int(fields["Root window id"].split()[0], 16):
                return top
            xid = top = parent

    def property(self, name):
        """The window's property as a list of numbers or atom names ([] when it has none)."""
        return self.desktop._xprop(["-id", str(self.xid)], name)

    def extents(self):
        """(left, right, top, bottom) of the window manager's frame around the client: as it announces
        them, or else (i3) the room around the client in the window it put the client in."""
        values = self.property("_NET_FRAME_EXTENTS")
        if len(values) == 4:
            return tuple(values)
        frame = self._frame_window()
        if frame is None:
            return (0, 0, 0, 0)
        x, y, width, height = self.client()
        fields = self._xwininfo(frame)
        border = int(fields["Border width"])
        fx, fy, fwidth, fheight = self.client(frame)
        return x - fx, fx + fwidth + 2 * border - x - width, y - fy, fy + fheight + 2 * border - y - height

    def frame(self):
        x, y, width, height = self.client()
        left, right, top, bottom = self.extents()
        return x - left, y - top, width + left + right, height + top + bottom

    def move(self, x, y):
        """Moves the window's frame to (x, y) as its program would ask, and waits until it is there."""
        fx, fy = self.frame()[:2]
        cx, cy = self.client()[:2]
        # Window managers put the frame where the program asks; i3 puts the client there.
        client_moved = self.desktop.wm_name == "i3"
        self.xdotool("windowmove", self.xid, *((x + cx - fx, y + cy - fy) if client_moved else (x, y)))
        wait_for(lambda: self.frame()[:2] == (x, y), message=f"window {self.xid} at ({x}, {y})")

    def state(self):
        return {name.replace("_NET_WM_STATE_", "") for name in self.property("_NET_WM_STATE")}

    def title_bar(self):
        x, y, width, _ = self.frame()
        return x + width // 2, y + max(1, self.extents()[2] // 2)

    def activate(self):
        self.xdotool("mousemove", *self.title_bar(), "click", 1)
        wait_for(lambda: self.desktop.active_window() == self.xid, message=f"window {self.xid} active")
        if self.desktop.wm_name == "xfwm4":
            # After a click on a title bar xfwm4 holds the pointer as long as a double click could
            # follow (250 ms); a click meanwhile goes nowhere.
            time.sleep(0.3)

    def click_inside(self):
        x, y, width, height = self.client()
        self.xdotool("mousemove", x + width // 2, y + height // 2, "click", 1)

    def toggle_maximised(self):
        self.xdotool("mousemove", *self.title_bar(), "click", "--repeat", 2, "--delay", 80, 1)

    def close(self, timeout=10):
        self.activate()
        self.xdotool("key", "alt+F4")
        self.process.wait(timeout)

    def terminate(self, timeout=10):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout)

    def kill(self):
        end_group(self.process)


class Ambrisk(AppInput, LinuxRunFiles, Window):
    """The program's main window; its controls are read through AT-SPI."""

    def message(self):
        """The text of the program's message box, or None while it shows none."""
        return message_of(self.process.pid)

    def _accessibles(self):
        """{accessible id: accessible} of the window's controls, found once per window."""
        if getattr(self, "_by_id", None) is None:
            self._by_id = wait_for(lambda: controls_of(self.process.pid, TITLE), timeout=15,
                                   message="the window's controls on AT-SPI")
        return self._by_id

    def control(self, name):
        accessibles = self._accessibles()
        if name not in accessibles:
            raise AssertionError(f"control {name} not found among {sorted(accessibles)}")
        accessible = accessibles[name]
        accessible.clear_cache()
        return Control(name, accessible)

class Session:
    """The bus, desktops and processes of one test run, all ended by id when the run ends."""

    def __init__(self):
        self.exe = exe_path()
        self.out_dir = os.environ.get("AMBRISK_E2E_LINUX_OUT") or os.path.join(REPO, "out", "e2e_linux")
        self._numbers = display_numbers("AMBRISK_E2E_LINUX_DISPLAYS", "200-239")
        self.root = tempfile.mkdtemp(prefix="ambrisk-e2e-linux-")
        self._desktops = {}
        self._processes = []
        self.bus = Bus(self.root)
        # This process reads the accessibility bus of the run's session bus, and no display's.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.bus.address
        os.environ.pop("DISPLAY", None)

    def _free_numbers(self):
        used = {d.server.number for d in self._desktops.values()}
        return [n for n in self._numbers if n not in used]

    def desktop(self, width=1280, height=1024, wm="openbox"):
        key = (width, height, wm)
        if key not in self._desktops:
            self._desktops[key] = Desktop(self, Display(width, height, self._free_numbers()), width, height, wm)
        return self._desktops[key]

    def two_monitor_desktop(self, first=(1280, 1024), second=(1024, 768)):
        """One screen split into two RandR monitors, which the server also reports as Xinerama heads
        (Openbox reads those): first at (0, 0) on the screen's output, the primary; second to its right."""
        key = ("two monitors", first, second)
        if key not in self._desktops:
            server = randr_two_monitors(first, second, self._free_numbers())
            self._desktops[key] = Desktop(self, server, server.width, server.height)
        return self._desktops[key]

    def spawn(self, args, env, stderr=subprocess.DEVNULL):
        process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=stderr, start_new_session=True)
        self._processes.append(process)
        return process

    def new_home(self):
        return tempfile.mkdtemp(prefix="home-", dir=self.root)

    def start_ambrisk(self, desktop, home=None, launcher=()):
        if not os.path.exists(self.exe):
            raise unittest.SkipTest(f"{self.exe} was not built (GTK 3 and X11 development files missing?)")
        home = home or self.new_home()
        descriptor, stderr_path = tempfile.mkstemp(prefix="stderr-", dir=self.root)
        with os.fdopen(descriptor, "wb") as stderr:
            window = desktop.start([*launcher, self.exe], TITLE, home=home, window_class=Ambrisk, stderr=stderr)
        window.home, window.stderr_path = home, stderr_path
        return window

    def close(self):
        for process in self._processes:
            end_group(process)
        for desktop in self._desktops.values():
            desktop.stop()
        self.bus.stop()
        shutil.rmtree(self.root, ignore_errors=True)


def session():
    """The session of this test run."""
    return shared_session(Session)


class DesktopCase(unittest.TestCase):
    """Tests on one desktop of width x height run by wm; what a test starts ends with it."""

    width, height, wm = 1280, 1024, "openbox"

    @classmethod
    def setUpClass(cls):
        cls.session = session()
        cls.desktop = cls.session.desktop(cls.width, cls.height, cls.wm)

    def start(self, args, title, desktop=None):
        window = (desktop or self.desktop).start(args, title)
        self.addCleanup(window.kill)
        return window

    def start_ambrisk(self, home=None, desktop=None, launcher=()):
        app = self.session.start_ambrisk(desktop or self.desktop, home, launcher)
        self.addCleanup(app.kill)
        return app

    def screenshot(self, name, crop=None, desktop=None):
        return (desktop or self.desktop).screenshot(os.path.join(self.session.out_dir, f"{name}.png"), crop)

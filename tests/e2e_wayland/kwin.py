"""A KDE Plasma session for the end-to-end tests and the benchmark: KWin on Wayland, headless
(`kwin_wayland --virtual`), on a private session bus with the accessibility bus beside it.

The installed kwin_wayland carries a file capability that this kind of machine will not grant, so a
copy of the binary runs (a copy has none). The test side reads and moves windows with KWin scripts of
its own: each prints its findings, marked, to KWin's log, where they are read back. The program's
own window is driven over AT-SPI (accessibility.py): there is no input device to click with.

    session = KWinSession(root)
    app = session.start_ambrisk(home)          # waits for its controls on AT-SPI
    target = session.start(["zenity", ...])    # a process; session.window(target.pid) -> dict
    session.activate(target.pid)               # as a click on it would
    session.window(pid) -> {"id", "pid", "caption", "frame": (x, y, w, h), "active", "minimized"}
    session.move(pid, x, y, width, height), session.close_window(pid)
    session.run_script(body) -> the value the script gave to answer(value)
    session.load_script(body) -> name; session.answers(name) -> [values so far]; unload_script(name)
    session.loaded_scripts() -> ids of the scripts KWin has loaded now
    session.screenshot(path)                   # the whole screen, as PNG
    app.control(name) -> Control, app.press(name), app.terminate(), app.stderr(), app.settings_path
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)
sys.path[:0] = [TESTS, os.path.join(TESTS, "e2e_linux")]
from accessibility import Bus, Control, controls_of  # noqa: E402
from e2e_common.processes import end_group, output, wait_for  # noqa: E402
from e2e_common.program import REPO, TITLE, LinuxRunFiles  # noqa: E402

WIDTH, HEIGHT = 1280, 1024
SOCKET = "wayland-kwin"
MARK = "ambrisk-test:"


def exe_path():
    path = os.environ.get("AMBRISK_LINUX_EXE") or os.path.join(REPO, "build-host", "ambrisk2")
    return path if os.path.isabs(path) else os.path.join(REPO, path)


class KWinSession:
    """KWin with one virtual output of WIDTH x HEIGHT; everything started here ends with stop()."""

    def __init__(self, root):
        self.root = root
        self.bus = Bus(root)
        self.processes = []
        self.log_path = os.path.join(root, "kwin.log")
        binary = shutil.which("kwin_wayland")
        if binary is None:
            raise RuntimeError("kwin_wayland is not installed")
        copy = os.path.join(root, "kwin_wayland")
        shutil.copyfile(binary, copy)
        os.chmod(copy, 0o755)
        self._scripts = 0
        with open(self.log_path, "wb") as log:
            self.kwin = subprocess.Popen(
                [copy, "--virtual", "--width", str(WIDTH), "--height", str(HEIGHT), "--socket", SOCKET],
                env={**self._base_env(root), "KWIN_SCREENSHOT_NO_PERMISSION_CHECKS": "1"},
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        try:
            wait_for(lambda: self._kwin_ready(), timeout=30, message="KWin on the session bus")
        except AssertionError:
            self.stop()
            raise

    def _kwin_ready(self):
        if self.kwin.poll() is not None:
            raise RuntimeError(f"kwin_wayland ended with code {self.kwin.returncode}: {self.log()[-2000:]}")
        return os.path.exists(os.path.join(self.bus.runtime, SOCKET)) and self.qdbus("/Scripting")[0] == 0

    def _base_env(self, home):
        env = {**os.environ, "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
               "XDG_CACHE_HOME": os.path.join(home, ".cache"), "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}
        for key, value in self.bus.env().items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        env.pop("DISPLAY", None)
        return env

    def env(self, home=None):
        """The environment of a Wayland client of this session."""
        return {**self._base_env(home or self.root), "WAYLAND_DISPLAY": SOCKET, "GDK_BACKEND": "wayland",
                "QT_QPA_PLATFORM": "wayland"}

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def qdbus(self, path, *method):
        return output(["qdbus", "org.kde.KWin", path, *method], self._base_env(self.root), timeout=10)

    def load_script(self, body):
        """Loads and runs a test script, which stays loaded until unload_script(name); returns its name.
        The script may call answer(value), which prints the value, marked, to KWin's log."""
        self._scripts += 1
        name = f"ambrisk-test-{self._scripts}"
        path = os.path.join(self.root, name + ".js")
        with open(path, "w", encoding="utf-8") as f:
            f.write(f"function answer(value) {{ print({json.dumps(MARK + name)} + ' ' + JSON.stringify(value)); }}\n")
            f.write(body)
        code, number = self.qdbus("/Scripting", "org.kde.kwin.Scripting.loadScript", path, name)
        if code != 0 or not number.strip().lstrip("-").isdigit() or int(number) < 0:
            raise AssertionError(f"KWin did not load the test script {name}: {number!r}")
        self.qdbus(f"/{int(number)}", "org.kde.kwin.Script.run")
        return name

    def unload_script(self, name):
        self.qdbus("/Scripting", "org.kde.kwin.Scripting.unloadScript", name)

    def answers(self, name):
        """What the script gave to answer() so far, decoded from JSON, in order."""
        prefix = f"js: {MARK}{name} "
        return [json.loads(line[len(prefix):]) for line in self.log().splitlines() if line.startswith(prefix)]

    def run_script(self, body, timeout=5):
        """Runs a test script that calls answer(value) once, and returns the value."""
        name = self.load_script(body)
        try:
            return wait_for(lambda: self.answers(name), timeout=timeout, message=f"the answer of {name}")[0]
        finally:
            self.unload_script(name)

    def windows(self):
        return self.run_script("""
            answer(workspace.clientList().map(w => ({id: String(w.internalId), pid: w.pid, caption: w.caption,
                frame: [w.frameGeometry.x, w.frameGeometry.y, w.frameGeometry.width, w.frameGeometry.height],
                active: w === workspace.activeClient, minimized: w.minimized})));""")

    def window(self, pid):
        """The window of the process, or None while it has none."""
        found = [w for w in self.windows() if w["pid"] == pid]
        if found:
            found[0]["frame"] = tuple(found[0]["frame"])
        return found[0] if found else None

    def _on_window(self, pid, statement):
        return self.run_script(f"""
            const w = workspace.clientList().find(w => w.pid === {int(pid)});
            if (w) {{ {statement} }}
            answer(!!w);""")

    def activate(self, pid):
        """Makes the process's window the active one, as a click on it would."""
        if not self._on_window(pid, "workspace.activeClient = w;"):
            raise AssertionError(f"no window of process {pid}")
        wait_for(lambda: (self.window(pid) or {}).get("active"), message=f"the window of {pid} active")

    def move(self, pid, x, y, width, height):
        self._on_window(pid, f"w.frameGeometry = {{x: {x}, y: {y}, width: {width}, height: {height}}};")
        wait_for(lambda: self.window(pid)["frame"] == (x, y, width, height), message=f"window of {pid} moved")

    def close_window(self, pid):
        self._on_window(pid, "w.closeWindow();")

    def loaded_scripts(self):
        """The numbers of the scripts loaded in KWin now (each is an object /<number> on the bus)."""
        code, paths = output(["qdbus", "org.kde.KWin"], self._base_env(self.root), timeout=10)
        return sorted(int(p[1:]) for p in paths.split() if p[1:].isdigit()) if code == 0 else None

    def spawn(self, args, home=None, stderr=subprocess.DEVNULL):
        process = subprocess.Popen(args, env=self.env(home), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=stderr, start_new_session=True)
        self.processes.append(process)
        return process

    def start(self, args, home=None):
        """Starts a program and waits for its window."""
        process = self.spawn(args, home)
        wait_for(lambda: self._shown(process), timeout=20, message=f"a window of {args[0]}")
        return process

    def _shown(self, process):
        if process.poll() is not None:
            raise AssertionError(f"{process.args[0]} ended with code {process.returncode}")
        return self.window(process.pid)

    def new_home(self, prefix="home-"):
        return tempfile.mkdtemp(prefix=prefix, dir=self.root)

    def start_ambrisk(self, home):
        exe = exe_path()
        if not os.path.exists(exe):
            raise AssertionError(f"{exe} was not built")
        stderr = open(os.path.join(home, "stderr.txt"), "wb")
        process = self.spawn([exe], home, stderr)
        stderr.close()
        return Ambrisk(self, process, home)

    def screenshot(self, path):
        """The whole screen as a PNG, through KWin's own screenshot interface."""
        from gi.repository import Gio, GLib
        bus = Gio.DBusConnection.new_for_address_sync(
            self.bus.address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        reader, writer = os.pipe()
        fds = Gio.UnixFDList.new_from_array([writer])
        reply, _ = bus.call_with_unix_fd_list_sync(
            "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureWorkspace",
            GLib.Variant("(a{sv}h)", ({}, 0)), GLib.VariantType("(a{sv})"), Gio.DBusCallFlags.NONE, 5000, fds, None)
        os.close(writer)
        with os.fdopen(reader, "rb") as f:
            data = f.read()
        bus.close_sync(None)
        info = reply.unpack()[0]
        width, height, stride = info["width"], info["height"], info["stride"]
        os.makedirs(os.path.dirname(path), exist_ok=True)
        rows = b"".join(data[row * stride:row * stride + width * 4] for row in range(height))
        subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "bgra:-", path], input=rows,
                       check=True, timeout=30)

    def stop(self):
        for process in self.processes:
            end_group(process)
        end_group(self.kwin, signal.SIGTERM)
        self.bus.stop()


class Ambrisk(LinuxRunFiles):
    """The program's main window, read and driven over AT-SPI."""

    def __init__(self, session, process, home):
        self.session, self.process, self.home = session, process, home
        self._by_id = wait_for(lambda: self._controls(), timeout=15, message="the window's controls on AT-SPI")

    def _controls(self):
        if self.process.poll() is not None:
            raise AssertionError(f"ambrisk2 ended with code {self.process.returncode}: {self.stderr()}")
        return controls_of(self.process.pid, TITLE)

    def control(self, name):
        accessible = self._by_id[name]
        accessible.clear_cache()
        return Control(name, accessible)

    def press(self, name):
        """The control's own action, as a click on it does."""
        self._by_id[name].queryAction().doAction(0)

    def wait_for(self, predicate, timeout=5.0, message="condition"):
        return wait_for(predicate, timeout=timeout, message=message)

    def terminate(self, timeout=10):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout)


def new_root(prefix="ambrisk-kwin-"):
    return tempfile.mkdtemp(prefix=prefix)

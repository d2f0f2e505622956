"""A headless Sway for the end-to-end tests, run as `nobody` (Sway refuses root), with everything
its clients need in one private folder: the runtime folder, a session bus for AT-SPI, a seat whose
pointer and keyboard reach the programs (sway_input.py), and the tools that read and drive it (swaymsg, grim).

    sway = session()                       # one Sway for the test run, 1280 x 1024, a bar at the top
    app = sway.start_ambrisk()             # private home; app.controls() over AT-SPI
    foot = sway.start(["foot", "-T", "Foot Target", "sh"], app_id="foot")
    sway.click(x, y)                       # a real click through the seat's cursor
    sway.key(15)                           # Tab, through the seat's keyboard
    foot.frame()                           # (x, y, width, height): the container with its title bar
    sway.work_area()                       # the focused workspace's rectangle

Each program started here ends with the run; tests end theirs with kill() or terminate().
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from e2e_common.processes import end_group, output, shared_session, wait_for  # noqa: E402
from e2e_common.program import REPO, TITLE, LinuxRunFiles  # noqa: E402

WIDTH, HEIGHT = 1280, 1024
CONFIG = f"output HEADLESS-1 resolution {WIDTH}x{HEIGHT}\nbar {{\n    position top\n}}\n"
AS_NOBODY = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]


def exe_path():
    path = os.environ.get("AMBRISK_LINUX_EXE") or os.path.join(REPO, "build-host", "ambrisk2")
    return path if os.path.isabs(path) else os.path.join(REPO, path)


def frame_of(node):
    """The container with its title bar above it, as (x, y, width, height)."""
    rect, deco = node["rect"], node["deco_rect"]
    return rect["x"], rect["y"] - deco["height"], rect["width"], rect["height"] + deco["height"]


class Window:
    """A program's window in Sway's tree, found by its process id."""

    def __init__(self, sway, process):
        self.sway, self.process = sway, process

    def node(self):
        for node in self.sway.windows():
            if node.get("pid") == self.process.pid:
                return node
        return None

    def frame(self):
        return frame_of(self.node())

    def floating(self):
        return self.node()["type"] == "floating_con"

    def click_inside(self):
        """Near the top left corner: the program's window floats in the middle of the output."""
        x, y, width, height = self.frame()
        self.sway.click(x + min(width // 2, 40), y + min(height // 2, 60))

    def focus(self):
        self.sway.swaymsg(f"[con_id={self.node()['id']}] focus")
        wait_for(lambda: self.node()["focused"], message="focus")

    def terminate(self, timeout=10):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout)

    def kill(self):
        end_group(self.process)


class Ambrisk(LinuxRunFiles, Window):
    """The program's main window, its controls read over AT-SPI and clicked through the seat."""

    def controls(self):
        reader = os.path.join(self.sway.tools, "sway_controls.py")
        code, out = output([*AS_NOBODY, "env", *self.sway.env_list(), sys.executable, reader, str(self.process.pid),
                            TITLE], timeout=30)
        return json.loads(out) if code == 0 and out.strip() else {}

    def control(self, name):
        return wait_for(lambda: self.controls().get(name), timeout=15, message=f"control {name}")

    def result(self):
        return (self.control("txtResult")["text"] or "").replace("\r\n", "\n")

    def click(self, name):
        """A real click at the control's centre: its extents count from the window's corner."""
        x, y, width, height = self.control(name)["extents"]
        node = self.node()
        left = node["rect"]["x"] + node["window_rect"]["x"]
        top = node["rect"]["y"] + node["window_rect"]["y"]
        self.sway.click(left + x + width // 2, top + y + height // 2)

    def close(self, timeout=10):
        """As the user closes it: Sway asks the window to close."""
        self.sway.swaymsg(f"[con_id={self.node()['id']}] kill")
        self.process.wait(timeout)


class Sway:
    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="ambrisk-e2e-sway-")
        os.chmod(self.root, 0o755)
        self.home = self._folder("home")
        self.runtime = self._folder("run", 0o700)
        self.out_dir = os.environ.get("AMBRISK_E2E_WAYLAND_OUT") or os.path.join(REPO, "out", "e2e_wayland")
        self._processes = []
        self._copy_tools()
        config = os.path.join(self.root, "config")
        with open(config, "w", encoding="utf-8") as f:
            f.write(CONFIG)
        self.log = open(os.path.join(self.root, "sway.log"), "wb")
        self.sway = self._spawn(["sway", "-c", config], {"WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                                                         "WLR_RENDERER": "pixman"}, stderr=self.log)
        self.socket = wait_for(self._ipc_socket, timeout=15, message="Sway's IPC socket")
        self.bus = subprocess.Popen([*AS_NOBODY, "env", *self.env_list(), "dbus-daemon", "--session", "--nofork",
                                     "--print-address=1"], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, start_new_session=True)
        self._processes.append(self.bus)
        self.bus_address = self.bus.stdout.readline().decode().strip()
        self.input = self._spawn([sys.executable, os.path.join(self.tools, "sway_input.py")],
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        if self.input.stdout.readline().strip() != b"ready":
            raise AssertionError("the seat got no pointer and keyboard")

    def _copy_tools(self):
        """The program and the helper scripts, where `nobody` may read them whoever owns the checkout."""
        tests = os.path.dirname(HERE)
        for folder, names in (("e2e_common", None), ("e2e_linux", ["accessibility.py"]),
                              ("e2e_wayland", ["sway_controls.py", "sway_input.py"])):
            os.makedirs(os.path.join(self.root, "tests", folder))
            for name in names or [n for n in os.listdir(os.path.join(tests, folder)) if n.endswith(".py")]:
                shutil.copyfile(os.path.join(tests, folder, name), os.path.join(self.root, "tests", folder, name))
        self.exe = os.path.join(self.root, "ambrisk2")
        shutil.copy(exe_path(), self.exe)
        subprocess.run(["chmod", "-R", "a+rX", self.root], check=True)
        self.tools = os.path.join(self.root, "tests", "e2e_wayland")

    def _folder(self, name, mode=0o755):
        path = os.path.join(self.root, name)
        os.makedirs(path, mode=mode)
        shutil.chown(path, "nobody", "nogroup")
        return path

    def _ipc_socket(self):
        if self.sway.poll() is not None:
            raise AssertionError(f"sway ended with code {self.sway.returncode}")
        names = [n for n in os.listdir(self.runtime) if n.startswith("sway-ipc.")]
        return os.path.join(self.runtime, names[0]) if names and os.path.exists(
            os.path.join(self.runtime, "wayland-1")) else None

    def env(self, home=None):
        env = {"PATH": "/usr/bin:/bin", "HOME": home or self.home, "XDG_RUNTIME_DIR": self.runtime,
               "WAYLAND_DISPLAY": "wayland-1", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}
        if getattr(self, "socket", None):
            env["SWAYSOCK"] = self.socket
        if getattr(self, "bus_address", None):
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def env_list(self, home=None, extra=None):
        return [f"{k}={v}" for k, v in {**self.env(home), **(extra or {})}.items()]

    def _spawn(self, args, extra=None, home=None, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
               stderr=subprocess.DEVNULL):
        process = subprocess.Popen([*AS_NOBODY, "env", "-i", *self.env_list(home, extra), *args],
                                   stdin=stdin, stdout=stdout, stderr=stderr, start_new_session=True)
        self._processes.append(process)
        return process

    def swaymsg(self, *args):
        code, out = output([*AS_NOBODY, "env", "-i", *self.env_list(), "swaymsg", "-r", *args])
        if code != 0:
            raise AssertionError(f"swaymsg {' '.join(args)} failed: {out}")
        return json.loads(out) if out.strip() else None

    def windows(self):
        found = []

        def walk(node):
            if node["type"] in ("con", "floating_con") and "pid" in node:
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.swaymsg("-t", "get_tree"))
        return found

    def work_area(self):
        workspace = next(w for w in self.swaymsg("-t", "get_workspaces") if w["focused"])
        rect = workspace["rect"]
        return rect["x"], rect["y"], rect["width"], rect["height"]

    def cursor(self, *args):
        self.swaymsg("--", "seat", "seat0", "cursor", *map(str, args))

    def click(self, x, y):
        self.cursor("set", x, y)
        time.sleep(0.05)
        self.cursor("press", "button1")
        self.cursor("release", "button1")

    def _input(self, command):
        self.input.stdin.write(f"{command}\n".encode())
        self.input.stdin.flush()
        if self.input.stdout.readline().strip() != b"done":
            raise AssertionError("the seat's input is gone")
        time.sleep(0.05)

    def key(self, code, shift=False):
        """A press and release of the key with this evdev code (15: Tab) on the focused window."""
        self._input(f"key {code}{' SHIFT' if shift else ''}")

    def move_pointer(self, x, y):
        """The pointer to (x, y) as a mouse moves it (Sway's focus may follow it there)."""
        self._input(f"move {x} {y} {WIDTH} {HEIGHT}")

    def start(self, args, home=None, window_class=Window, stderr=subprocess.DEVNULL, extra=None):
        window = window_class(self, self._spawn(args, extra, home=home, stderr=stderr))

        def shown():
            if window.process.poll() is not None:
                raise AssertionError(f"{args[0]} ended with code {window.process.returncode}")
            node = window.node()
            return node and node["rect"]["width"] > 0
        wait_for(shown, timeout=20, message=f"the window of {args[0]}")
        return window

    def new_home(self, settings=None):
        """A home of its own for the program, with these [Settings] stored, if given."""
        home = tempfile.mkdtemp(prefix="home-", dir=self.root)
        if settings:
            folder = os.path.join(home, ".config", "ambrisk2")
            os.makedirs(folder)
            with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
                f.write("[Settings]\n" + "".join(f"{key}={value}\n" for key, value in settings.items()))
        subprocess.run(["chown", "-R", "nobody:nogroup", home], check=True)
        return home

    def start_ambrisk(self, home=None, extra=None):
        """The program, with a home of its own unless given one, and these variables besides."""
        home = home or self.new_home()
        stderr = open(os.path.join(home, "stderr.txt"), "ab")
        app = self.start([self.exe], home=home, window_class=Ambrisk, stderr=stderr, extra=extra)
        app.home = home
        return app

    def screenshot(self, name):
        """A screenshot of the whole output in out/e2e_wayland/NAME.png."""
        os.makedirs(self.out_dir, exist_ok=True)
        shot = os.path.join(self.home, "shot.png")
        code, out = output([*AS_NOBODY, "env", "-i", *self.env_list(), "grim", "-o", "HEADLESS-1", shot])
        if code != 0:
            raise AssertionError(f"grim failed: {out}")
        path = os.path.join(self.out_dir, f"{name}.png")
        shutil.copyfile(shot, path)
        return path

    def end_session(self):
        """Sway ends as it does when the user logs out, closing its clients' connections."""
        output([*AS_NOBODY, "env", "-i", *self.env_list(), "swaymsg", "exit"])
        self.sway.wait(10)

    def close(self):
        for process in reversed(self._processes):
            end_group(process, signal.SIGTERM)
        self.log.close()
        shutil.rmtree(self.root, ignore_errors=True)


def session():
    """The Sway of this test run."""
    return shared_session(Sway)

"""GNOME Shell 43 headless for the end-to-end tests and the benchmark: the shell in a private mount
namespace as `nobody` (the shell dies on a machine that has /run/systemd/seats without logind, and
needs a system bus), with the program's extension from the build tree and a test aid extension
(gnome_test_extension/) installed as user extensions and switched on before it starts. Everything
that talks to the session bus runs as `nobody` too: the bus refuses other users. The program's
controls are reached over AT-SPI through an agent process (this file run as a script).

    session = GnomeSession(exe)       # started; session.close() ends everything it started
    app = session.start_ambrisk(home)
    app.control("chkGo"), app.click("optRes(2)")
"""

import json
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.dirname(HERE), os.path.join(os.path.dirname(HERE), "e2e_linux")]
from e2e_common.processes import end_group, wait_for  # noqa: E402
from e2e_common.program import REPO, TITLE, LinuxRunFiles  # noqa: E402

UUID = "ambrisk2@ambrisk2.invalid"
TEST_UUID = "ambrisk2-test@ambrisk2.invalid"
SCREEN = (1280, 1024)


def exe_path():
    return os.environ.get("AMBRISK_LINUX_EXE") or os.path.join(REPO, "build-host", "ambrisk2")


def as_nobody(args, env):
    """The command run as `nobody` with exactly this environment."""
    return ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "env", "-i",
            *[f"{key}={value}" for key, value in env.items()], *[str(a) for a in args]]


def give_to_nobody(path):
    user = pwd.getpwnam("nobody")
    for folder, _, files in os.walk(path):
        for name in [folder, *[os.path.join(folder, f) for f in files]]:
            os.chown(name, user.pw_uid, user.pw_gid)


class GnomeSession:
    def __init__(self, exe=None, out_dir=None):
        self.exe = exe or exe_path()
        self.out_dir = out_dir or os.path.join(REPO, "out", "e2e_wayland")
        self.root = tempfile.mkdtemp(prefix="ambrisk-e2e-gnome-")
        os.chmod(self.root, 0o755)
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "run")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        extensions = os.path.join(self.home, ".local", "share", "gnome-shell", "extensions")
        built = os.path.join(os.path.dirname(self.exe), "gnome-shell", "gnome43", UUID)
        if not os.path.isdir(built):
            raise AssertionError(f"the build tree has no GNOME 43 extension at {built}")
        shutil.copytree(built, os.path.join(extensions, UUID))
        shutil.copytree(os.path.join(HERE, "gnome_test_extension"), os.path.join(extensions, TEST_UUID))
        give_to_nobody(self.root)
        self._processes = []
        self.log_path = os.path.join(self.root, "shell.log")
        self.agent = None
        self._shell = self._start_shell()
        try:
            self.bus = wait_for(self._bus_address, timeout=30, message="GNOME Shell started")
            self.agent = Agent(self)
            wait_for(lambda: self.has_name("invalid.ambrisk2.Windows") and self.has_name("invalid.ambrisk2.Test"),
                     timeout=15, message="both extensions on the bus")
        except BaseException:
            self.close()
            raise

    def _start_shell(self):
        inner = os.path.join(self.root, "shell.sh")
        with open(inner, "w") as f:
            f.write(f"""#!/bin/sh
gsettings set org.gnome.shell enabled-extensions "['{UUID}', '{TEST_UUID}']"
echo "$DBUS_SESSION_BUS_ADDRESS" > {self.root}/bus
exec gnome-shell --headless --wayland --no-x11 --virtual-monitor {SCREEN[0]}x{SCREEN[1]}
""")
        os.chmod(inner, 0o755)
        # A system bus of the namespace's own, which starts no system service (PackageKit and
        # the like would run as root): the shell only needs one to be there.
        system_bus = os.path.join(self.root, "system-bus.conf")
        with open(system_bus, "w") as f:
            f.write("""<busconfig><type>system</type><listen>unix:path=/run/dbus/system_bus_socket</listen>
<auth>EXTERNAL</auth><policy context="default"><allow user="*"/><allow own="*"/>
<allow send_type="method_call"/><allow send_type="signal"/><allow send_type="method_return"/><allow send_type="error"/>
<allow receive_type="method_call"/><allow receive_type="signal"/><allow receive_type="method_return"/>
<allow receive_type="error"/></policy></busconfig>""")
        env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_RUNTIME_DIR": self.runtime}
        shell = " ".join(as_nobody(["dbus-run-session", "--", inner], env))
        script = ("set -e; if [ -d /run/systemd ]; then mount -t tmpfs none /run/systemd; fi; mkdir -p /run/dbus; "
                  f"mount -t tmpfs none /run/dbus; dbus-daemon --config-file={system_bus} --nofork --nopidfile & "
                  f"set +e; {shell}; kill $!")
        log = open(self.log_path, "wb")
        return subprocess.Popen(["unshare", "--mount", "--propagation", "private", "bash", "-c", script],
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                start_new_session=True)

    def _bus_address(self):
        if self._shell.poll() is not None:
            raise AssertionError(f"GNOME Shell ended with {self._shell.returncode}:\n{self.log()[-3000:]}")
        path = os.path.join(self.root, "bus")
        started = "GNOME Shell started" in self.log()
        return started and os.path.exists(path) and open(path).read().strip()

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def env(self, home=None):
        return {"PATH": "/usr/bin:/bin", "HOME": home or self.home, "XDG_RUNTIME_DIR": self.runtime,
                "WAYLAND_DISPLAY": "wayland-0", "DBUS_SESSION_BUS_ADDRESS": self.bus, "GDK_BACKEND": "wayland",
                "LANG": "C.UTF-8"}

    def run(self, args, timeout=10):
        """(exit code, standard output) of a command run as `nobody` in the session."""
        done = subprocess.run(as_nobody(args, self.env()), stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=timeout)
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def call(self, destination, path, interface, method, signature="()", *args):
        """A method's reply as a list of Python values; AssertionError when it fails."""
        return self.agent.ask("call", destination, path, interface, method, signature, args)

    def has_name(self, name):
        return self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         "(s)", name)[0]

    def test_aid(self, method, *args):
        signature = "(" + "".join("i" if isinstance(a, int) else "s" for a in args) + ")"
        return self.call("invalid.ambrisk2.Test", "/invalid/ambrisk2/Test", "invalid.ambrisk2.Test", method,
                         signature, *args)

    def windows(self):
        return json.loads(self.test_aid("Windows")[0])

    def window(self, title, pid=None):
        """The window with this title (of that process) as the test aid sees it ({title, pid, focused,
        frame, ...})."""
        return next((w for w in self.windows() if w["title"] == title and pid in (None, w["pid"])), None)

    def work_area(self):
        return tuple(json.loads(self.test_aid("WorkArea")[0]))

    def activate(self, title, pid=0):
        """Gives the window (of that process, unless pid is 0) the focus, as a click into it would."""
        # A window that its program has shown may reach the shell a moment later, and the shell
        # first leaves the overview it starts in.
        wait_for(lambda: self.test_aid("Activate", title, pid)[0], message=f"a window {title!r} to activate")
        wait_for(lambda: any(w["focused"] for w in self.windows() if w["title"] == title), message=f"{title} focused")

    def screenshot(self, name):
        os.makedirs(self.out_dir, exist_ok=True)
        shot = os.path.join(self.root, name + ".png")
        self.test_aid("Screenshot", shot)
        target = os.path.join(self.out_dir, name + ".png")
        shutil.copyfile(shot, target)
        return target

    def new_home(self):
        home = tempfile.mkdtemp(prefix="home-", dir=self.root)
        give_to_nobody(home)
        return home

    def spawn(self, args, home=None, stderr=subprocess.DEVNULL):
        process = subprocess.Popen(as_nobody(args, self.env(home)), stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=stderr, start_new_session=True)
        self._processes.append(process)
        return process

    def start_target(self, title):
        """A zenity dialog that can be resized; its frame once it is shown."""
        pid = self.spawn(["zenity", "--entry", "--title", title, "--text", "target"]).pid
        frames = []

        def settled():
            # Mutter may place a new window once more after it first shows it.
            frames.append((self.window(title, pid) or {}).get("frame", [0] * 4))
            return frames[-1][2] and frames[-3:] == [frames[-1]] * 3

        wait_for(settled, timeout=15, interval=0.1, message=f"the window {title} in its place")
        return self.window(title, pid)

    def start_ambrisk(self, home=None, wait=True, exe=None):
        home = home or self.new_home()
        stderr_path = os.path.join(home, "stderr.txt")
        with open(stderr_path, "wb") as stderr:
            process = self.spawn([exe or self.exe], home, stderr)
        app = Ambrisk(self, process, home, stderr_path)
        if wait:
            wait_for(lambda: app.control("Label1").text.startswith("您的屏幕分辨率是："), timeout=15,
                     message="the program's first tick")
        return app

    def end_programs(self):
        """Ends every program started in the session, and waits until their windows are gone."""
        pids = self._end_processes()
        wait_for(lambda: not any(w["pid"] in pids for w in self.windows()), message="the windows gone")

    def _end_processes(self):
        pids = {process.pid for process in self._processes}
        for process in self._processes:
            end_group(process)
        self._processes = []
        return pids

    def close(self):
        self._end_processes()
        if self.agent:
            self.agent.stop()
        end_group(self._shell, signal.SIGTERM)
        # The shell's helpers may still be writing into the runtime folder as they end.
        for _ in range(5):
            shutil.rmtree(self.root, ignore_errors=True)
            if not os.path.exists(self.root):
                break
            time.sleep(0.2)


class Ambrisk(LinuxRunFiles):
    """The program's main window: its controls over AT-SPI, its settings file, its window."""

    def __init__(self, session, process, home, stderr_path):
        self.session, self.process, self.home, self.stderr_path = session, process, home, stderr_path

    def control(self, name):
        """The control's text, checked, showing and sensitive."""
        return types.SimpleNamespace(**self.session.agent.ask("control", self.process.pid, name))

    def click(self, name):
        self.session.agent.ask("click", self.process.pid, name)

    def message(self):
        return self.session.agent.ask("message", self.process.pid)

    def close(self, timeout=10):
        """As the title bar's close button does."""
        self.close_message()
        self.process.wait(timeout)

    def close_message(self):
        """Closes the window titled as the program (the main window, or a message box)."""
        self.session.test_aid("Close", TITLE, self.process.pid)

    def activate(self):
        self.session.activate(TITLE, self.process.pid)

    def terminate(self, timeout=10):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout)


class Agent:
    """This file run as a script by `nobody` on the session's bus: it answers requests about a
    program's controls, one JSON line each way."""

    def __init__(self, session):
        self.process = subprocess.Popen(as_nobody(["/usr/bin/python3", "-u", os.path.abspath(__file__)],
                                                  session.env()),
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        start_new_session=True)

    def ask(self, request, *args):
        self.process.stdin.write((json.dumps([request, *args]) + "\n").encode())
        self.process.stdin.flush()
        answer = json.loads(self.process.stdout.readline() or '{"error": "the agent ended"}')
        if "error" in answer:
            raise AssertionError(f"{request}{tuple(args)}: {answer['error']}")
        return answer["value"]

    def stop(self):
        self.process.stdin.close()
        end_group(self.process)
        self.process.stdout.close()


def serve_requests():
    """The agent's side: D-Bus calls, and controls by their accessible id, found once per process."""
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    found = {}

    def call(destination, path, interface, method, signature, args):
        reply = bus.call_sync(destination, path, interface, method, GLib.Variant(signature, tuple(args)), None,
                              Gio.DBusCallFlags.NONE, 5000)
        return reply.unpack() if reply else []

    def accessible(pid, name):
        from accessibility import controls_of
        if pid not in found:
            found[pid] = wait_for(lambda: controls_of(pid, TITLE), timeout=15, message="controls on AT-SPI")
        accessible = found[pid][name]
        accessible.clear_cache()
        return accessible

    def control(pid, name):
        from accessibility import Control
        c = Control(name, accessible(pid, name))
        return {"text": c.text, "checked": c.checked, "showing": c.showing, "sensitive": c.sensitive}

    def click(pid, name):
        accessible(pid, name).queryAction().doAction(0)

    def message(pid):
        from accessibility import message_of
        return message_of(pid)

    requests = {"call": call, "control": control, "click": click, "message": message}
    for line in sys.stdin:
        name, *args = json.loads(line)
        try:
            answer = {"value": requests[name](*args)}
        except Exception as e:  # told to the test, which fails with it
            answer = {"error": f"{type(e).__name__}: {e}"}
        print(json.dumps(answer), flush=True)


if __name__ == "__main__":
    serve_requests()

"""Figures of the Linux edition on KDE Plasma: KWin 5.27 on Wayland, headless, in the session of the
end-to-end tests (tests/e2e_wayland/kwin.py):

  idle CPU          per cent of one core over 30 s with both toggles up
  D-Bus traffic     messages to or from the program on the session bus (dbus-monitor) over those
                    30 s, and over 2 s with the sizing toggle down
  activation-size   from the target's activation to its new frame, timed inside KWin by a script of
                    the benchmark's own (median of 10); and the program's commands to its script
                    within it, each from the program's answer to the script's standing question to
                    the script's report (dbus-monitor)

    /usr/bin/python3 bench/kwin_bench.py          (AMBRISK_LINUX_EXE as for the tests)
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e_wayland"))
import kwin  # noqa: E402
from linux_bench import cpu_share  # noqa: E402

RUNS = 10
TARGET_FRAME = (40, 30, 520, 440)

# dbus-monitor's header line of each message.
MESSAGE = re.compile(r"^(method call|method return|error|signal) time=([0-9.]+) sender=(\S+) -> "
                     r"destination=(\S+) serial=(\d+)(?: reply_serial=(\d+))?(?:.*member=(\w+))?")


class Monitor:
    """dbus-monitor on the session bus, its messages read from a file."""

    def __init__(self, session):
        self.path = os.path.join(session.root, "dbus-monitor.log")
        self.log = open(self.path, "wb")
        self.process = subprocess.Popen(["dbus-monitor", "--session"], env=session.env(), stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=subprocess.DEVNULL, start_new_session=True)
        time.sleep(1)

    def messages(self):
        """(kind, time, sender, destination, serial, reply serial, member) of each message so far."""
        with open(self.path, errors="replace") as f:
            return [m.groups() for m in map(MESSAGE.match, f) if m]

    def stop(self):
        kwin.end_group(self.process)
        self.log.close()


def names_of(session, pid):
    """The unique names that the process holds on the session bus."""
    from gi.repository import Gio
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def ask(method, *args):
        from gi.repository import GLib
        return bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
                             GLib.Variant("(s)", args) if args else None, None, 0, 2000, None).unpack()[0]
    names = set()
    for name in ask("ListNames"):
        if name.startswith(":"):
            try:
                if ask("GetConnectionUnixProcessID", name) == pid:
                    names.add(name)
            except Exception:
                pass
    return names


def involving(messages, names):
    return [m for m in messages if m[2] in names or m[3] in names]


def command_latencies(messages, names):
    """Seconds from each command of the program (its answer to the script's standing question) to the
    script's first report after it. An answer that is followed by no report within half a second
    (a renewal of the question, a command to stop following a window) counts for nothing."""
    questions = {m[4] for m in messages if m[0] == "method call" and m[3] in names and m[6] == "Next"}
    latencies, answered = [], None
    for kind, at, sender, destination, serial, reply_serial, member in messages:
        if kind == "method return" and sender in names and reply_serial in questions:
            answered = float(at)
        elif kind == "method call" and destination in names and member == "Report" and answered is not None:
            if float(at) - answered < 0.5:
                latencies.append(float(at) - answered)
            answered = None
    return latencies


MEASURE = """
const target = workspace.clientList().find(w => w.pid === %d);
let activatedAt = null;
// A window handed to a handler is a wrapper of its own: windows are told apart by their ids.
workspace.clientActivated.connect(w => { if (w && String(w.internalId) === String(target.internalId)) activatedAt = Date.now(); });
target.frameGeometryChanged.connect(() => {
    if (activatedAt === null || target.frameGeometry.width === %d) return;
    answer(Date.now() - activatedAt);
    activatedAt = null;
});
"""


def activation_to_size(session, app, target):
    session.activate(app.process.pid)
    app.press("optRes(2)")
    name = session.load_script(MEASURE % (target.pid, TARGET_FRAME[2]))
    try:
        for run in range(RUNS):
            session.move(target.pid, *TARGET_FRAME)
            session.activate(app.process.pid)
            app.press("chkGo")
            app.wait_for(lambda: app.control("chkGo").checked, message="chkGo pressed")
            session.activate(target.pid)
            kwin.wait_for(lambda: len(session.answers(name)) > run, timeout=5, message=f"run {run + 1} sized")
        return [ms / 1000 for ms in session.answers(name)]
    finally:
        session.unload_script(name)


def main():
    root = kwin.new_root()
    session = kwin.KWinSession(root)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = session.bus.address
    try:
        target = session.start(["zenity", "--text-info", "--title", "GTK Target", "--filename", "/etc/os-release"])
        session.move(target.pid, *TARGET_FRAME)
        app = session.start_ambrisk(session.new_home())
        app.wait_for(lambda: app.control("Label1").text.endswith("1280 x 1024"), message="the first tick")
        time.sleep(3)
        names = names_of(session, app.process.pid)
        monitor = Monitor(session)

        seen = len(monitor.messages())
        share = cpu_share(app.process.pid)
        idle = len(involving(monitor.messages()[seen:], names))
        session.activate(app.process.pid)
        app.press("chkGo")
        seen = len(monitor.messages())
        time.sleep(2)
        armed = len(involving(monitor.messages()[seen:], names))
        app.press("chkGo")

        seen = len(monitor.messages())
        times = activation_to_size(session, app, target)
        sizing = monitor.messages()[seen:]
        commands = command_latencies(sizing, names)
        monitor.stop()

        print(f"load average: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")
        print(f"idle CPU over 30 s, both toggles up: {share:.3f} % of one core")
        print(f"D-Bus messages of the program over 30 s of idle: {idle}; over 2 s with the sizing toggle down: "
              f"{armed}; per sizing: {len(involving(sizing, names)) / RUNS:.0f}")
        print(f"activation to new size: median {statistics.median(times) * 1000:.0f} ms, "
              f"min {min(times) * 1000:.0f} ms, max {max(times) * 1000:.0f} ms over {len(times)} runs")
        print(f"a command to the script (answered question to its report): median "
              f"{statistics.median(commands) * 1000:.1f} ms, max {max(commands) * 1000:.1f} ms over "
              f"{len(commands)} commands")
    finally:
        session.stop()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()

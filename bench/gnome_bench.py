"""Figures of the Linux edition on GNOME Shell 43 headless (the end-to-end session of
tests/e2e_wayland/gnome.py):

  idle CPU     per cent of one core over 30 s with both toggles up
  D-Bus        messages to or from the program's connection on the session bus, counted by
               dbus-monitor: over 10 s of idle, over 5 s with the sizing toggle down (the tick
               then asks for the focused window every 100 ms), and over one sizing for comparison
  activation   from giving the target the focus (as a click would) with the sizing toggle down to
               the target's new frame (median of 10)

    /usr/bin/python3 bench/gnome_bench.py      (AMBRISK_LINUX_EXE as for the tests)
"""

import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e_wayland"))
import gnome  # noqa: E402
from linux_bench import cpu_share  # noqa: E402
from e2e_common.processes import end_group, wait_for  # noqa: E402

TARGET = "GTK Target"


def unique_name(session, pid):
    """The program's connection on the session bus."""
    names = session.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListNames")[0]
    for name in (n for n in names if n.startswith(":")):
        try:
            owner = session.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                 "GetConnectionUnixProcessID", "(s)", name)[0]
        except AssertionError:
            continue
        if owner == pid:
            return name
    raise AssertionError(f"no connection of process {pid}")


class Monitor:
    """dbus-monitor on the session bus, its messages counted by connection."""

    def __init__(self, session):
        self.log = os.path.join(session.root, "dbus-monitor.log")
        self.output = open(self.log, "wb")
        self.process = subprocess.Popen(gnome.as_nobody(["dbus-monitor", "--session"], session.env()),
                                        stdin=subprocess.DEVNULL, stdout=self.output, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        time.sleep(1)

    def messages(self, name):
        """Messages so far that name sent or was sent."""
        with open(self.log, errors="replace") as f:
            return sum(1 for line in f if line.split(" ", 1)[0] in ("method", "signal", "error")
                       and (f"sender={name} " in line or f"destination={name} " in line))

    def count(self, name, action):
        before = self.messages(name)
        action()
        time.sleep(0.5)  # dbus-monitor writes what it saw
        return self.messages(name) - before

    def stop(self):
        end_group(self.process)
        self.output.close()


def press(app, toggle):
    app.activate()
    app.click(toggle)
    wait_for(lambda: app.control(toggle).checked, message=f"{toggle} pressed")


def activation_to_size(session, app, runs=10):
    times = []
    for run in range(runs):
        preset, size = (("optRes(1)", [806, 578]), ("optRes(2)", [1030, 746]))[run % 2]
        app.activate()
        app.click(preset)
        press(app, "chkGo")
        started = time.monotonic()
        session.test_aid("Activate", TARGET, 0)
        wait_for(lambda: session.window(TARGET)["frame"][2:] == size, timeout=5, interval=0.002, message=f"{size}")
        times.append(time.monotonic() - started)
    return times


def main():
    session = gnome.GnomeSession()
    try:
        session.start_target(TARGET)
        app = session.start_ambrisk()
        time.sleep(3)
        share = cpu_share(app.process.pid)
        print(f"load average: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")
        print(f"idle CPU over 30 s, both toggles up: {share:.3f} % of one core")

        name = unique_name(session, app.process.pid)
        monitor = Monitor(session)
        idle = monitor.count(name, lambda: time.sleep(10))
        press(app, "chkGo")
        armed = monitor.count(name, lambda: time.sleep(5))
        sizing = monitor.count(name, lambda: (session.activate(TARGET), wait_for(
            lambda: app.control("txtResult").text.startswith(TARGET), timeout=5, message="the result")))
        monitor.stop()
        print(f"D-Bus messages of the program: {idle} over 10 s of idle, {armed} over 5 s with the sizing toggle "
              f"down, {sizing} in one sizing")

        times = activation_to_size(session, app)
        print(f"activation to new size (10 runs): median {statistics.median(times) * 1000:.0f} ms, "
              f"min {min(times) * 1000:.0f} ms, max {max(times) * 1000:.0f} ms")
    finally:
        session.close()


if __name__ == "__main__":
    main()

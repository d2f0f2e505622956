#!/usr/bin/python3
"""Runs the built Ambrisk2.exe under Wine for the scripts, with the test harness's set-up.

    ambrisk_wine.py prepare             set up $WINEPREFIX for $DISPLAY (frames, Chinese fonts)
    ambrisk_wine.py screenshot PATH     start on a private virtual display, save a screenshot, end
    ambrisk_wine.py idle-cpu [SECONDS]  CPU time the idle program uses, in per cent of one core
"""

import os
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402


def prepare():
    env = {**os.environ, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    harness.prepare_prefix(harness.wine_route().wine, env)


def start_idle_program():
    session = harness.session()
    app = session.start_ambrisk(session.display(1280, 1024))
    app.wait_for(lambda: app.control("Label1").text.startswith("您的"), message="the first tick")
    return session, app


def screenshot(path):
    _, app = start_idle_program()
    path = os.path.abspath(path)
    app.display.screenshot(path, app.info()["window"])
    print(f"Ambrisk 2 ran on a virtual display; screenshot saved to {path}")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def wineserver_pid(prefix):
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                if not f.read().startswith("wineserver"):
                    continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0"):
                    return int(entry)
        except OSError:
            continue
    return None


def idle_cpu(seconds):
    session, app = start_idle_program()
    time.sleep(3)  # let start-up finish
    server = wineserver_pid(session.prefix)
    pids = {"Ambrisk2.exe": app.process.pid, **({"wineserver": server} if server else {})}
    before = {name: cpu_ticks(pid) for name, pid in pids.items()}
    started = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - started
    tick = os.sysconf("SC_CLK_TCK")
    for name, pid in pids.items():
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            command = f.read().replace(b"\0", b" ").decode(errors="replace").strip()
        used = (cpu_ticks(pid) - before[name]) / tick
        print(f"{name} (pid {pid}: {command}): {used:.2f} s CPU in {elapsed:.1f} s idle = {100 * used / elapsed:.2f} % of one core")


def main(args):
    if args[:1] == ["prepare"]:
        prepare()
    elif args[:1] == ["screenshot"] and len(args) == 2:
        screenshot(args[1])
    elif args[:1] == ["idle-cpu"]:
        idle_cpu(float(args[1]) if len(args) > 1 else 30)
    else:
        print(__doc__, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

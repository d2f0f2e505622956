"""Figures of the Linux edition on a virtual Openbox desktop (the end-to-end harness):

  start-up     from the start of the process to its first shown window (median of 5 each, the
               three programs taking turns in one run): ambrisk2; an empty GTK window; and the
               fair yardstick, the same window made by hand in plain GTK (fair_gtk_window.cpp)
  memory       resident set of each of the three once its window is up
  idle CPU     per cent of one core over 30 s with both toggles up
  X traffic    X requests and replies of the program in 10 s of idle, counted by xtrace; and in
               2 s with the sizing toggle down, for comparison
  click-size   from the click on the target to the target's new size (median of 10)

    /usr/bin/python3 bench/linux_bench.py [--startup]     (AMBRISK_LINUX_EXE, AMBRISK_E2E_LINUX_DISPLAYS as for the tests)

--startup measures start-up and memory only.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e_linux"))
import harness  # noqa: E402

REPO = os.path.dirname(HERE)
BARE_TITLE = "Bare GTK Window"
FAIR_TITLE = "Fair GTK Window"
ICON = os.path.join(REPO, "resources", "ambrisk2.ico")


def gtk_flags():
    return subprocess.run(["pkg-config", "--cflags", "--libs", "gtk+-3.0"], check=True, capture_output=True,
                          text=True).stdout.split()


def build_bare_window(folder):
    exe = os.path.join(folder, "bare_gtk_window")
    subprocess.run(["cc", "-O2", os.path.join(HERE, "bare_gtk_window.c"), "-o", exe, *gtk_flags()], check=True)
    return exe


def build_fair_window(folder):
    """The yardstick reads the program's layout table, so that both show the same controls and texts."""
    exe = os.path.join(folder, "fair_gtk_window")
    subprocess.run(["c++", "-std=c++20", "-O2", "-I", REPO, os.path.join(HERE, "fair_gtk_window.cpp"),
                    os.path.join(REPO, "ui", "layout.cpp"), "-o", exe, *gtk_flags()], check=True)
    return exe


def resident_after_start(session, desktop, args, title, settle=3):
    """MiB resident once the window is up and has settled; the process is ended."""
    process = session.spawn(args, desktop.env(session.new_home()))
    harness.wait_for(lambda: desktop.find_window(title), timeout=20, message=title)
    time.sleep(settle)
    kib = resident_kib(process.pid)
    process.kill()
    process.wait()
    return kib / 1024


def time_to_window(session, desktop, args, title):
    """Seconds from the start of the process to its shown window; the process is ended."""
    started = time.monotonic()
    process = session.spawn(args, desktop.env(session.new_home()))
    harness.wait_for(lambda: desktop.find_window(title), timeout=20, interval=0.002, message=title)
    elapsed = time.monotonic() - started
    process.kill()
    process.wait()
    return elapsed


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def cpu_share(pid, seconds=30):
    """Per cent of one core that the process uses over the next `seconds`."""
    before, started = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return (cpu_seconds(pid) - before) / (time.monotonic() - started) * 100


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))


def count_traffic(log, seconds):
    """(requests, replies) that xtrace logs in the next `seconds`."""
    with open(log, errors="replace") as f:
        start = len(f.readlines())
    time.sleep(seconds)
    with open(log, errors="replace") as f:
        lines = f.readlines()[start:]
    return sum(1 for line in lines if ":<:" in line), sum(1 for line in lines if ": Reply to " in line)


def x_traffic(session, desktop, seconds=10, settle=15):
    """X requests and replies of the program over `seconds` of idle, after `settle` seconds in which
    the text cursor stops blinking, and then over 2 s with the sizing toggle down, which shows
    that the count sees the screen watch when it has work to do. The program runs through xtrace,
    a logging X proxy."""
    fake = next(n for n in range(desktop.server.number + 1, 400) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
    log = os.path.join(session.root, "xtrace.log")
    tracer = session.spawn(["xtrace", "-n", "-d", desktop.name, "-D", f":{fake}", "-o", log, "--", session.exe],
                           desktop.env(session.new_home()))
    xid = harness.wait_for(lambda: desktop.find_window(harness.TITLE), timeout=20, message="the window under xtrace")
    with open(f"/proc/{tracer.pid}/task/{tracer.pid}/children") as f:
        program = types.SimpleNamespace(pid=int(f.read().split()[0]))
    app = harness.Ambrisk(desktop, program, xid)
    time.sleep(settle)
    idle = count_traffic(log, seconds)
    app.click("chkGo")
    armed = count_traffic(log, 2)
    harness.end_group(tracer)  # xtrace and the program
    return idle, armed


def click_to_size(session, desktop, runs=10):
    app = session.start_ambrisk(desktop)
    app.wait_for(lambda: app.control("Label1").text.startswith("您的屏幕分辨率是："), message="the first tick")
    _, _, width, height = app.frame()
    desktop.xdotool("windowmove", app.xid, 1280 - width, 1014 - height)
    target = desktop.start(["zenity", "--entry", "--title", "GTK Target", "--text", "target"], "GTK Target")
    desktop.xdotool("windowmove", target.xid, 20, 20)
    left, right, top, bottom = target.extents()
    times = []
    for run in range(runs):
        preset, size = (("optRes(1)", (806, 578)), ("optRes(2)", (1030, 746)))[run % 2]
        app.activate()
        app.click(preset)
        app.click("chkGo")
        app.wait_for(lambda: app.control("chkGo").checked, message="chkGo pressed")
        client = (size[0] - left - right, size[1] - top - bottom)
        x, y, w, h = target.client()
        started = time.monotonic()
        desktop.xdotool("mousemove", x + w // 2, y + h // 2, "click", 1)
        harness.wait_for(lambda: target.client()[2:] == client, timeout=5, interval=0.002, message=f"{size}")
        times.append(time.monotonic() - started)
    app.kill()
    target.kill()
    return times


def main():
    session = harness.session()
    if not os.path.exists(session.exe):
        sys.exit(f"{session.exe} was not built")
    desktop = session.desktop(1280, 1024)
    with tempfile.TemporaryDirectory() as folder:
        programs = {"bare": ([build_bare_window(folder)], BARE_TITLE),
                    "fair": ([build_fair_window(folder), ICON], FAIR_TITLE),
                    "ambrisk2": ([session.exe], harness.TITLE)}
        times = {name: [] for name in programs}
        for _ in range(5):
            for name, (args, title) in programs.items():
                times[name].append(time_to_window(session, desktop, args, title))
        memory = {name: resident_after_start(session, desktop, args, title) for name, (args, title) in programs.items()}
    startup = {name: statistics.median(runs) * 1000 for name, runs in times.items()}
    print(f"load average: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")
    print("start-up to the first shown window (medians of 5): " +
          ", ".join(f"{name} {ms:.0f} ms" for name, ms in startup.items()) +
          f"; ambrisk2/fair {startup['ambrisk2'] / startup['fair']:.2f}")
    print("resident memory: " + ", ".join(f"{name} {mib:.1f} MiB" for name, mib in memory.items()) +
          f"; ambrisk2/fair {memory['ambrisk2'] / memory['fair']:.2f}")
    if "--startup" in sys.argv[1:]:
        return

    app = session.start_ambrisk(desktop)
    time.sleep(3)
    share = cpu_share(app.process.pid)
    print(f"idle CPU over 30 s, both toggles up: {share:.3f} % of one core")
    app.kill()

    (requests, replies), (armed_requests, armed_replies) = x_traffic(session, desktop)
    print(f"X traffic over 10 s of idle: {requests} requests, {replies} replies (round trips); "
          f"over 2 s with the sizing toggle down: {armed_requests} requests, {armed_replies} replies")

    times = click_to_size(session, desktop)
    print(f"click to new size: median {statistics.median(times) * 1000:.0f} ms, "
          f"min {min(times) * 1000:.0f} ms, max {max(times) * 1000:.0f} ms over {len(times)} runs")


if __name__ == "__main__":
    main()

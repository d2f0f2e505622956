"""Figures of the Linux edition on a headless Sway (the Wayland end-to-end session, tests/e2e_wayland/sway.py):

  idle CPU     per cent of one core over 30 s with both toggles up
  IPC traffic  messages the program sends to Sway's socket in 10 s of idle (strace of its socket
               writes, which all begin with the "i3-ipc" magic); and in 2 s with the sizing toggle down
  click-size   from the press on the target (when Sway has taken it) to the target's new frame, seen by
               swaymsg (median of 10); foot, tiled before each run

    /usr/bin/python3 bench/sway_bench.py      (AMBRISK_LINUX_EXE as for the tests)
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e_wayland"))
import sway  # noqa: E402
from linux_bench import cpu_share  # noqa: E402


def ipc_messages(app, seconds):
    """Messages the program starts on Sway's socket within the next `seconds`."""
    with tempfile.NamedTemporaryFile(mode="r", suffix=".strace") as log:
        tracer = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=sendto,sendmsg,write", "-s", "8", "-o",
                                   log.name, "-p", str(app.process.pid)], stderr=subprocess.DEVNULL)
        time.sleep(seconds)
        tracer.terminate()
        tracer.wait()
        return sum(1 for line in log if '"i3-ipc' in line)


def click_to_size(sway_session, app, foot, runs=10):
    times = []
    for _ in range(runs):
        sway_session.swaymsg(f"[con_id={foot.node()['id']}] floating disable")
        sway.wait_for(lambda: not foot.floating(), message="foot tiled")
        app.focus()
        app.click("chkGo")
        sway.wait_for(lambda: app.control("chkGo")["checked"], message="chkGo pressed")
        x, y, _, _ = foot.frame()
        sway_session.cursor("set", x + 40, y + 60)
        sway_session.cursor("press", "button1")
        # Sway has taken the press once swaymsg returns; starting swaymsg takes some 10 ms.
        started = time.monotonic()
        sway_session.cursor("release", "button1")
        sway.wait_for(lambda: foot.frame()[2:] == (1030, 746), timeout=5, interval=0.005, message="the new size")
        times.append(time.monotonic() - started)
    return times


def main():
    session = sway.session()
    app = session.start_ambrisk()
    app.control("txtResult")
    foot = session.start(["foot", "-T", "Foot Target", "sh"])
    app.focus()
    app.click("optRes(2)")
    sway.wait_for(lambda: app.control("optRes(2)")["checked"], message="1024 x 768 chosen")
    time.sleep(2)
    print(f"idle CPU           {cpu_share(app.process.pid):.3f} % of a core over 30 s (both toggles up)")
    print(f"IPC messages idle  {ipc_messages(app, 10)} in 10 s (both toggles up)")
    app.click("chkGo")
    sway.wait_for(lambda: app.control("chkGo")["checked"], message="chkGo pressed")
    print(f"IPC messages armed {ipc_messages(app, 2)} in 2 s (sizing toggle down)")
    app.click("chkGo")
    times = click_to_size(session, app, foot)
    print(f"click to new size  median {1000 * statistics.median(times):.0f} ms over {len(times)} "
          f"(min {1000 * min(times):.0f}, max {1000 * max(times):.0f})")
    app.kill()
    foot.kill()


if __name__ == "__main__":
    main()

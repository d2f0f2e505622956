#!/usr/bin/env python3
"""From the click on the target window to its new size, under Wine with real input.

Presses chkGo, clicks Wine's notepad and polls the size of notepad's X window from the Linux side
(a few ms per look, much finer than a probe run under Wine) until it changes. Prints each run and
min/median/max. A measurement, not a pass/fail test.

    /usr/bin/python3 bench/sizing_latency_under_wine.py [runs]      (default 10)

Uses the end-to-end harness, so the same environment variables apply (AMBRISK_WIN_BUILD,
AMBRISK_E2E_DISPLAYS, ...); needs the Windows build and the probe.
"""

import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "e2e"))
import harness  # noqa: E402

NOTEPAD_AT = (50, 40, 450, 340)


def x_size(display, x_window):
    out = subprocess.run(["xdotool", "getwindowgeometry", x_window], capture_output=True, text=True,
                         env={**os.environ, "DISPLAY": display.name}).stdout
    match = re.search(r"Geometry: (\d+)x(\d+)", out)
    return (int(match.group(1)), int(match.group(2))) if match else None


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    session = harness.session()
    display = session.display(1280, 1024)
    app = session.start_ambrisk(display)
    app.wait_for(lambda: app.control("Label1").text.startswith("您的屏幕分辨率是："), message="the first tick")
    left, top, right, bottom = app.info()["window"]
    app.move(1280 - (right - left), 1024 - (bottom - top) - 10, 1280, 1014)
    notepad = session.start_notepad(display)
    x_window = subprocess.run(["xdotool", "search", "--name", "^Untitled - Notepad$"], capture_output=True,
                              text=True, env={**os.environ, "DISPLAY": display.name}).stdout.split()[0]
    print(f"Wine loader {session.wine}, build {os.path.dirname(os.path.dirname(os.path.dirname(session.exe)))}")

    latencies = []
    for run in range(runs):
        notepad.move(*NOTEPAD_AT)
        harness.wait_for(lambda: x_size(display, x_window) == (400, 300), message="notepad at 400 x 300")
        app.activate()
        app.click("chkGo")
        app.wait_for(lambda: app.control("chkGo").checked == 1, message="chkGo pressed")
        client = notepad.info()["client"]
        display.xdotool("mousemove", (client[0] + client[2]) // 2, (client[1] + client[3]) // 2)
        clicked = time.monotonic()
        display.xdotool("click", 1)
        while x_size(display, x_window) == (400, 300):
            if time.monotonic() - clicked > 3:
                raise SystemExit(f"run {run + 1}: notepad kept its size")
        latency = (time.monotonic() - clicked) * 1000
        latencies.append(latency)
        print(f"run {run + 1}: {latency:.0f} ms")
    print(f"click to new size over {runs} runs: min {min(latencies):.0f} ms, "
          f"median {statistics.median(latencies):.0f} ms, max {max(latencies):.0f} ms")


if __name__ == "__main__":
    main()

"""Virtual X screens that a test run starts and stops by process id, and the pixels of their
screenshots."""

import os
import re
import subprocess

from .processes import run, wait_for


def display_numbers(variable, default):
    """The X display numbers a run may use: the range "first-last" in the environment variable."""
    first, _, last = os.environ.get(variable, default).partition("-")
    return list(range(int(first), int(last or first) + 1))


def _start_x_server(numbers, command, env=None):
    """Starts command(number), an X server, on the first free display number of numbers and returns
    (number, process)."""
    for number in numbers:
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        process = subprocess.Popen(command(number), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: process.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{number}"),
                     timeout=10, message=command(number)[0])
        except AssertionError:
            process.kill()
            continue
        if process.poll() is None:
            return number, process
    raise RuntimeError(f"no free X display in {numbers[0]}..{numbers[-1]}")


class Display:
    """An Xvfb screen that this run started; stopped by pid. With work_area = (x, y, width, height)
    the root window announces that work area (_NET_WORKAREA), as a desktop with panels does."""

    def __init__(self, width, height, numbers, work_area=None):
        self.width, self.height = width, height
        # -noreset: the root window's properties outlive the last client.
        self.number, self.process = _start_x_server(numbers, lambda number: [
            "Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"])
        self.name = f":{self.number}"
        if work_area:
            subprocess.run(["xprop", "-display", self.name, "-root", "-f", "_NET_WORKAREA", "32c",
                            "-set", "_NET_WORKAREA", ",".join(map(str, work_area))], check=True)

    def xdotool(self, *args):
        """Runs xdotool on this screen (real pointer and key input) and returns what it printed."""
        result = subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": self.name},
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        if result.returncode != 0:
            raise AssertionError(f"xdotool {' '.join(map(str, args))} failed ({result.returncode})")
        return result.stdout.decode("utf-8", "replace")

    def screenshot(self, path, crop=None):
        """Saves the screen, or the rectangle crop = (left, top, right, bottom), as PNG."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        args = ["import", "-display", self.name, "-window", "root"]
        if crop:
            left, top, right, bottom = (max(0, v) for v in crop)
            args += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
        subprocess.run(args + [path], check=True)
        return path

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class TwoMonitorDisplay(Display):
    """Two monitors side by side, first (width, height) on the left as the primary, second to its
    right, tops aligned: Xephyr with Xinerama, which shows each monitor in a window of a private
    Xvfb. With work_areas (one (x, y, width, height) per monitor) the root window announces them
    (_GTK_WORKAREAS_D0), as panels on single monitors do."""

    def __init__(self, first, second, numbers, work_areas=None):
        (first_width, first_height), (second_width, second_height) = first, second
        self.width, self.height = first_width + second_width, max(first_height, second_height)
        self.host = Display(max(first_width, second_width), self.height, numbers)
        self.number, self.process = _start_x_server(
            [n for n in numbers if n != self.host.number],
            lambda number: ["Xephyr", f":{number}", "+xinerama", "-noreset", "-nolisten", "tcp",
                            "-screen", f"{first_width}x{first_height}", "-origin", f"{first_width},0",
                            "-screen", f"{second_width}x{second_height}"],
            env={**os.environ, "DISPLAY": self.host.name})
        self.name = f":{self.number}"
        if work_areas:
            subprocess.run(["xprop", "-display", self.name, "-root", "-f", "_GTK_WORKAREAS_D0", "32c",
                            "-set", "_GTK_WORKAREAS_D0", ",".join(str(v) for area in work_areas for v in area)],
                           check=True)

    def stop(self):
        super().stop()
        self.host.stop()


def randr_two_monitors(first, second, numbers):
    """One Xvfb screen split into two RandR monitors, which the server also reports as Xinerama
    heads: first (width, height) at (0, 0) on the screen's output, the primary; second to its
    right, tops aligned."""
    (first_width, first_height), (second_width, second_height) = first, second
    server = Display(first_width + second_width, max(first_height, second_height), numbers)
    env = {**os.environ, "DISPLAY": server.name}
    for args in (["--setmonitor", "first", f"{first_width}/300x{first_height}/200+0+0", "screen"],
                 ["--setmonitor", "second", f"{second_width}/300x{second_height}/200+{first_width}+0", "none"],
                 ["--output", "screen", "--primary"]):
        subprocess.run(["xrandr", *args], env=env, check=True, capture_output=True)
    return server


class Pixels:
    """The RGB pixels of an image file, read through ImageMagick as binary PPM."""

    def __init__(self, path):
        code, data, err = run(["convert", path, "-depth", "8", "ppm:-"])
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if code != 0 or not header:
            raise RuntimeError(f"cannot read {path}: {err.decode(errors='replace')}")
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self._data = data[header.end():]

    def at(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self._data[offset:offset + 3])

    def most_common(self, left=0, top=0, right=None, bottom=None):
        counts = {}
        for y in range(top, self.height if bottom is None else bottom):
            for x in range(left, self.width if right is None else right):
                colour = self.at(x, y)
                counts[colour] = counts.get(colour, 0) + 1
        return max(counts, key=counts.get)

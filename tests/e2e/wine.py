"""Wine for the end-to-end tests: the route that starts it (as the scripts chose it), the check
that the qemu route really runs the program under qemu-user, and a prefix set up for our windows.
Imported through harness.py, which puts the shared e2e_common on the module path."""

import os
import shutil
import subprocess

from e2e_common.processes import run
from e2e_common.program import REPO
from e2e_common.screens import TwoMonitorDisplay

X11_DRIVER_KEY = r"HKCU\Software\Wine\X11 Driver"

# Fonts that Wine's dialogs and our controls ask for; each gets the CJK font linked so that
# Chinese texts render instead of boxes.
_CJK_LINK = "wqy-microhei.ttc,WenQuanYi Micro Hei"
MARLETT = "/usr/share/wine/fonts/marlett.ttf"
_LINKED_FACES = ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Arial", "Segoe UI")


class WineRoute:
    """How this run starts Wine: name (native, qemu, win64, or "given"), wine (the loader that every
    Wine process of the run goes through), text (one line for logs) and build (the Windows build)."""

    def __init__(self, values):
        self.name = values.get("AMBRISK_WINE_ROUTE") or "given"
        self.wine = values["AMBRISK_WINE"]
        self.text = values.get("AMBRISK_WINE_ROUTE_TEXT") or f"Wine loader {self.wine} (AMBRISK_WINE)"
        build = values["AMBRISK_WIN_BUILD"]
        self.build = build if os.path.isabs(build) else os.path.join(REPO, build)


_ROUTE_VARIABLES = ("AMBRISK_WINE_ROUTE", "AMBRISK_WINE", "AMBRISK_WINE_ROUTE_TEXT", "AMBRISK_WIN_BUILD")
_route = None


def wine_route():
    """The route that the scripts chose and exported; what they did not give is asked of the same
    choice in scripts/common.sh, so that this harness never decides a route of its own."""
    global _route
    if _route is None:
        given = {name: os.environ[name] for name in _ROUTE_VARIABLES if os.environ.get(name)}
        answer = {}
        if not ("AMBRISK_WINE" in given and "AMBRISK_WIN_BUILD" in given):
            asked = subprocess.run(["bash", "-c", 'source "$0" && choose_route_and_build >&2 && print_route_and_build',
                                    os.path.join(REPO, "scripts", "common.sh")], stdout=subprocess.PIPE, text=True)
            if asked.returncode != 0:
                raise RuntimeError("no Wine route works on this machine (scripts/wine_route.sh)")
            answer = dict(line.split("=", 1) for line in asked.stdout.splitlines() if "=" in line)
            if "AMBRISK_WINE" in given:
                # A loader of the caller's own: the route's name and text were not about it.
                answer = {"AMBRISK_WIN_BUILD": answer["AMBRISK_WIN_BUILD"]}
        _route = WineRoute({**answer, **given})
    return _route


def runs_under_qemu(pid):
    """True when the process is qemu-user running a program of another architecture."""
    with open(f"/proc/{pid}/maps") as f:
        return any(line.rstrip().endswith("/qemu-i386") for line in f)


def x11_driver_settings(display):
    """The settings of Wine's X11 driver (X11_DRIVER_KEY) that the display needs: Wine reads
    Xinerama's monitors only when it does not use XRandR."""
    return {"UseXRandR": "N"} if isinstance(display, TwoMonitorDisplay) else {}


def prepare_prefix(wine, env):
    """Creates the Wine prefix named in env (or updates an existing one) for our windows: Wine draws
    the frames itself, as there is no window manager on a virtual display, and a CJK font is linked
    to the dialog fonts so that Chinese renders instead of boxes."""
    code, _, err = run([wine, "wineboot", "-i"], env=env, timeout=180)
    if code != 0:
        raise RuntimeError(f"creating the Wine prefix failed: {err.decode(errors='replace')}")
    # Wine draws the caption buttons with Marlett, which this Wine build does not find in its own
    # data folder; a copy in the prefix's font folder is always found. (Only Marlett: with Wine's
    # Tahoma present, edit controls show Chinese as boxes.)
    fonts = os.path.join(env["WINEPREFIX"], "drive_c", "windows", "Fonts")
    if os.path.exists(MARLETT) and os.path.isdir(fonts):
        shutil.copy(MARLETT, fonts)
    commands = [[X11_DRIVER_KEY, name, "N", "REG_SZ"] for name in ("Managed", "Decorated")]
    link = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
    commands += [[link, face, _CJK_LINK, "REG_MULTI_SZ"] for face in _LINKED_FACES]
    for key, value, data, kind in commands:
        code, _, err = run([wine, "reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"], env=env)
        if code != 0:
            raise RuntimeError(f"reg add {key} {value} failed: {err.decode(errors='replace')}")
    run(["wineserver", "-w"], env=env, timeout=120)

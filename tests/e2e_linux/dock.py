"""A panel for the tests: a dock window across the top of the first monitor that keeps its height
for itself (_NET_WM_STRUT_PARTIAL), as desktop panels do.   python3 dock.py HEIGHT"""

import subprocess
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402


def main():
    height = int(sys.argv[1])
    monitor = Gdk.Display.get_default().get_monitor(0).get_geometry()
    window = Gtk.Window(title="Test Dock")
    window.set_type_hint(Gdk.WindowTypeHint.DOCK)
    window.set_decorated(False)
    window.move(monitor.x, monitor.y)
    window.set_size_request(monitor.width, height)
    window.connect("destroy", Gtk.main_quit)
    window.realize()
    # The strut must be there when the window manager first sees the window.
    xid = str(window.get_window().get_xid())
    # left, right, top, bottom; then the start and end of each: only the top one is used.
    strut = [0, 0, height, 0, 0, 0, 0, 0, monitor.x, monitor.x + monitor.width - 1, 0, 0]
    for name, values in (("_NET_WM_STRUT", strut[:4]), ("_NET_WM_STRUT_PARTIAL", strut)):
        subprocess.run(["xprop", "-id", xid, "-f", name, "32c", "-set", name, ",".join(map(str, values))], check=True)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()

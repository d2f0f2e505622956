"""GTK windows of the kinds that desktops treat apart, for the tests:

    python3 gtk_windows.py dock HEIGHT       a dock across the top of the first monitor that keeps
                                             HEIGHT pixels for itself (_NET_WM_STRUT_PARTIAL), as
                                             desktop panels do; titled "Test Dock"
    python3 gtk_windows.py headerbar TITLE   a window that draws its own title bar (Gtk.HeaderBar)
                                             and, under a compositing window manager, its own
                                             shadow, which it announces in _GTK_FRAME_EXTENTS
    python3 gtk_windows.py desktop TITLE     a desktop window (_NET_WM_WINDOW_TYPE_DESKTOP) over
                                             the first monitor, as file managers draw the desktop
"""

import subprocess
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402


def dock(window, height):
    monitor = Gdk.Display.get_default().get_monitor(0).get_geometry()
    window.set_title("Test Dock")
    window.set_type_hint(Gdk.WindowTypeHint.DOCK)
    window.set_decorated(False)
    window.move(monitor.x, monitor.y)
    window.set_size_request(monitor.width, int(height))
    window.realize()
    # The strut must be there when the window manager first sees the window.
    xid = str(window.get_window().get_xid())
    # left, right, top, bottom; then the start and end of each: only the top one is used.
    strut = [0, 0, int(height), 0, 0, 0, 0, 0, monitor.x, monitor.x + monitor.width - 1, 0, 0]
    for name, values in (("_NET_WM_STRUT", strut[:4]), ("_NET_WM_STRUT_PARTIAL", strut)):
        subprocess.run(["xprop", "-id", xid, "-f", name, "32c", "-set", name, ",".join(map(str, values))], check=True)


def headerbar(window, title):
    window.set_title(title)
    window.set_titlebar(Gtk.HeaderBar(title=title, show_close_button=True))
    window.set_default_size(400, 300)


def desktop(window, title):
    monitor = Gdk.Display.get_default().get_monitor(0).get_geometry()
    window.set_title(title)
    window.set_type_hint(Gdk.WindowTypeHint.DESKTOP)
    window.move(monitor.x, monitor.y)
    window.set_default_size(monitor.width, monitor.height)


def main():
    kind, argument = sys.argv[1:3]
    window = Gtk.Window()
    {"dock": dock, "headerbar": headerbar, "desktop": desktop}[kind](window, argument)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()

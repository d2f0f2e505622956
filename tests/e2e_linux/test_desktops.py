"""Sizing where the desktop is not one bare screen run by Openbox: two monitors, a panel at the top,
a desktop window, and other window managers: Openbox with the focus following the pointer, xfwm4
with its compositor, i3."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_sizing import GTK_TITLE, XTERM_TITLE, AmbriskCase, outcome  # noqa: E402

HEADER_BAR_TITLE = "Header Bar Target"
DESKTOP_TITLE = "Test Desktop"


class TwoMonitorTest(AmbriskCase):
    """1280 x 1024 on the left, the primary; 1024 x 768 to its right."""

    @classmethod
    def setUpClass(cls):
        cls.session = harness.session()
        cls.desktop = cls.session.two_monitor_desktop((1280, 1024), (1024, 768))

    def test_window_is_sized_within_its_own_monitor(self):
        self.assertIn("1280 x 1024", self.app.control("Label1").text, "the primary monitor's size")
        target = self.start_gtk_target(1400, 100)
        self.select("optRes(2)")
        self.assertEqual(self.act("chkGo", target), outcome(GTK_TITLE, "调整到：1030 x 746"))
        # Too wide for the second monitor: moved to its left edge, not onto the first monitor;
        # too low from where it was: moved up to end at the monitor's bottom (768 - 746).
        self.assertEqual(target.frame(), (1280, 22, 1030, 746))


class TopPanelTest(AmbriskCase):
    """A dock of 40 pixels across the top of a 1280 x 960 screen."""

    PANEL = 40
    # Top left, below the panel: windows pushed to the lower right edges leave its title bar free.
    TOP_LEFT = (0, PANEL)

    @classmethod
    def setUpClass(cls):
        cls.session = harness.session()
        cls.desktop = cls.session.desktop(1280, 960)
        cls.dock = cls.desktop.start_dock(cls.PANEL)
        harness.wait_for(lambda: cls.desktop.xprop_root("_NET_WORKAREA")[:4] == [0, 40, 1280, 920],
                         message="the work area below the dock")

    @classmethod
    def tearDownClass(cls):
        cls.dock.kill()

    def test_windows_keep_their_place_and_come_back_exactly(self):
        target = self.start_gtk_target(400, 200)
        before = target.frame()
        self.select("optRes(1)")  # 800 x 600 with the defaults: 806 x 578
        for _ in range(2):
            self.assertEqual(self.act("chkGo", target), outcome(GTK_TITLE, "调整到：806 x 578"))
            self.assertEqual(target.frame(), (400, 200, 806, 578), "no drift by the panel's height")
            self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "恢复其原始大小。"))
            harness.wait_for(lambda: target.frame() == before, message="the frame from before")

        target.move(600, 400)
        before = target.frame()
        self.select("optRes(2)")
        self.assertEqual(self.act("chkGo", target), outcome(GTK_TITLE, "调整到：1030 x 746"))
        # Pushed left and up just enough to end at the work area's right and bottom edges.
        self.assertEqual(target.frame(), (1280 - 1030, 960 - 746, 1030, 746))
        self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "恢复其原始大小。"))
        harness.wait_for(lambda: target.frame() == before, message="the frame from before")


class DesktopWindowTest(AmbriskCase):

    def test_a_click_on_the_desktop_leaves_it_as_it_is(self):
        desktop = self.start([sys.executable, harness.GTK_WINDOWS, "desktop", DESKTOP_TITLE], DESKTOP_TITLE)
        before = desktop.frame()
        self.press("chkGo")
        self.desktop.xdotool("mousemove", 20, 500, "click", 1)
        self.app.wait_for(lambda: not self.app.control("chkGo").checked, message="the click caught")
        time.sleep(1)
        self.assertEqual(desktop.frame(), before)


class FocusFollowsMouseTest(AmbriskCase):
    wm = "openbox-follow-mouse"

    def test_the_window_clicked_is_sized_not_the_one_the_pointer_moved_to(self):
        clicked = self.start_gtk_target(40, 30)
        pointed_at = self.start(["xterm", "-T", XTERM_TITLE, "-geometry", "60x20+600+100"], XTERM_TITLE)
        before = pointed_at.frame()
        x, y, width, height = pointed_at.client()
        over_pointed_at = (x + width // 2, y + height // 2)
        self.press("chkGo")

        # On its way the pointer passes over another window, which takes the focus: nothing is caught.
        self.desktop.xdotool("mousemove", *over_pointed_at)
        harness.wait_for(lambda: self.desktop.active_window() == pointed_at.xid, message="the focus under the pointer")
        time.sleep(0.6)
        self.assertTrue(self.app.control("chkGo").checked, "still waiting for a click")

        x, y, width, height = clicked.client()
        before_text = self.result()
        self.desktop.xdotool("mousemove", x + width // 2, y + height // 2, "click", 1, "mousemove", *over_pointed_at)
        text = self.app.wait_for(lambda: self.result() != before_text and self.result(), message="a new result")
        # 640 x 480 with the default border of 3 and taskbar of 28.
        self.assertEqual(text, outcome(GTK_TITLE, "调整到：646 x 458"))
        self.assertEqual(clicked.frame()[2:], (646, 458))
        self.assertEqual(pointed_at.frame(), before)


class CompositingTest(AmbriskCase):
    """xfwm4 with its compositor: a window that draws its own title bar draws its shadow too."""

    wm = "xfwm4"

    def test_the_size_asked_for_is_the_size_seen_and_restoring_is_exact(self):
        target = self.start([sys.executable, harness.GTK_WINDOWS, "headerbar", HEADER_BAR_TITLE], HEADER_BAR_TITLE)
        left, right, top, bottom = harness.wait_for(lambda: target.property("_GTK_FRAME_EXTENTS"),
                                                    message="the shadow it draws")
        # What the user sees of it at (40, 30).
        target.move(40 - left, 30 - top)
        before = target.frame()
        self.select("optRes(2)")
        self.clear("chkBorder")
        self.clear("chkTask")
        self.assertEqual(self.act("chkGo", target), outcome(HEADER_BAR_TITLE, "调整到：1024 x 768"))
        x, y, width, height = target.frame()
        self.assertEqual(target.property("_GTK_FRAME_EXTENTS"), [left, right, top, bottom])
        self.assertEqual((x + left, y + top, width - left - right, height - top - bottom), (40, 30, 1024, 768))

        self.app.activate()
        time.sleep(0.3)
        self.screenshot("sizing_header_bar_1024x768", desktop=self.desktop)
        self.assertEqual(self.act("chkBack", target), outcome(HEADER_BAR_TITLE, "恢复其原始大小。"))
        harness.wait_for(lambda: target.frame() == before, message="the former frame")


class I3Test(AmbriskCase):
    """i3 with every window floating; it frames them without announcing the frame."""

    wm = "i3"

    def test_a_floating_window_gets_the_size_with_its_frame_and_comes_back(self):
        target = self.start_gtk_target(40, 30)
        before = target.frame()
        self.select("optRes(2)")
        self.clear("chkBorder")
        self.clear("chkTask")
        self.assertEqual(self.act("chkGo", target), outcome(GTK_TITLE, "调整到：1024 x 768"))
        self.assertEqual(target.frame(), (40, 30, 1024, 768))
        self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "恢复其原始大小。"))
        harness.wait_for(lambda: target.frame() == before, message="the former frame")


if __name__ == "__main__":
    harness.main()

"""Sizing and restoring other programs' windows on an Openbox desktop with real clicks: GTK
dialogs (zenity), xterm, and xclock, which never takes the input focus."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

GTK_TITLE = "GTK Target"
XTERM_TITLE = "Xterm Target"


def outcome(title, text):
    """The two lines of the result field as one string, whatever line break the view keeps."""
    return title + "\n" + text


class AmbriskCase(harness.DesktopCase):
    """The main window with its lower right corner at CORNER, or its upper left at TOP_LEFT."""

    CORNER = (1280, 1014)
    TOP_LEFT = None

    def setUp(self):
        self.app = self.start_ambrisk()
        self.app.wait_for(lambda: self.app.control("Label1").text.startswith("您的屏幕分辨率是："),
                          message="the first tick")
        _, _, width, height = self.app.frame()
        self.app.move(*(self.TOP_LEFT or (self.CORNER[0] - width, self.CORNER[1] - height)))

    def start_gtk_target(self, x, y, desktop=None, kind="--entry"):
        """A zenity dialog at frame position (x, y): --entry can be resized, --info cannot."""
        window = self.start(["zenity", kind, "--title", GTK_TITLE, "--text", "target"], GTK_TITLE, desktop)
        window.move(x, y)
        return window

    def result(self):
        return self.app.control("txtResult").text.replace("\r\n", "\n")

    def press(self, toggle):
        self.app.activate()
        self.app.click(toggle)
        self.app.wait_for(lambda: self.app.control(toggle).checked, message=f"{toggle} pressed")

    def act(self, toggle, target, timeout=3):
        """Presses the toggle, clicks into the target and waits for a new result text."""
        before = self.result()
        self.press(toggle)
        target.click_inside()
        return self.app.wait_for(lambda: self.result() != before and self.result(), timeout=timeout,
                                 message="a new result text")

    def select(self, name):
        self.app.click(name)
        self.app.wait_for(lambda: self.app.control(name).checked, message=f"{name} selected")

    def clear(self, name):
        self.app.click(name)
        self.app.wait_for(lambda: not self.app.control(name).checked, message=f"{name} cleared")


class SizingTest(AmbriskCase):

    def test_preset_sizes_a_gtk_window_and_restore_brings_it_back_once(self):
        target = self.start_gtk_target(40, 30)
        before = target.frame()
        self.select("optRes(2)")
        self.assertEqual(self.act("chkGo", target), outcome(GTK_TITLE, "调整到：1030 x 746"))
        self.assertEqual(target.frame(), (40, 30, 1030, 746), "frame sized, corner kept")

        self.app.activate()
        time.sleep(0.3)
        self.screenshot("sizing_gtk_1030x746")

        self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "恢复其原始大小。"))
        harness.wait_for(lambda: target.frame() == before, message="the former frame")
        self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "original size has already been restored"))
        self.assertEqual(target.frame(), before)

    def test_window_of_a_fixed_size_is_reported_with_the_size_it_really_has(self):
        target = self.start_gtk_target(40, 30, kind="--info")
        text = self.act("chkGo", target)
        self.assertEqual(text, outcome(GTK_TITLE, "调整到：{2} x {3}".format(*target.frame())))

    def test_maximised_window_is_sized_normal_and_comes_back_maximised(self):
        xterm = self.start(["xterm", "-T", XTERM_TITLE, "-geometry", "60x20+40+30"], XTERM_TITLE)
        self.assertEqual(self.act("chkBack", xterm), outcome(XTERM_TITLE, "is unknown and cannot be sized back"))

        # The first click of the double click on the title bar catches xterm; the second maximises
        # it well before the action 400 ms later.
        before = self.result()
        self.press("chkGo")
        xterm.toggle_maximised()
        self.assertIn("调整到：", self.app.wait_for(lambda: self.result() != before and self.result(), timeout=3,
                                                 message="the sizing"))
        self.assertFalse({"MAXIMIZED_VERT", "MAXIMIZED_HORZ"} & xterm.state(), "sized to the normal state")
        # 640 x 480 with the default border of 3 and taskbar of 28; xterm rounds to its character
        # cells, which the result text reports.
        width, height = xterm.frame()[2:]
        self.assertLessEqual(abs(width - 646) + abs(height - 458), 30, xterm.frame())
        self.assertIn(f"{width} x {height}", self.result())

        self.assertEqual(self.act("chkBack", xterm), outcome(XTERM_TITLE, "恢复其原始大小。"))
        harness.wait_for(lambda: {"MAXIMIZED_VERT", "MAXIMIZED_HORZ"} <= xterm.state(), message="maximised again")

    def test_a_window_that_never_takes_the_focus_is_caught_by_the_click(self):
        clock = self.start(["xclock", "-geometry", "200x200+60+60"], "xclock")
        # 640 x 480 with the default border of 3 and taskbar of 28.
        self.assertEqual(self.act("chkGo", clock), outcome("xclock", "调整到：646 x 458"))
        self.assertEqual(clock.frame()[2:], (646, 458))


class OutOfRangeTest(AmbriskCase):

    def start_ambrisk(self, home=None, desktop=None):
        # From the stored settings: typed into the field, the letter and the plus sign are refused.
        home = self.session.new_home()
        os.makedirs(os.path.join(home, ".config", harness.EXE_NAME))
        with open(os.path.join(home, ".config", harness.EXE_NAME, "settings.ini"), "w", encoding="utf-8") as f:
            f.write("[Settings]\nBorder=1E+20\n")
        return super().start_ambrisk(home, desktop)

    def test_border_beyond_the_32_bit_range_leaves_the_window_untouched(self):
        self.assertEqual(self.app.control("txtBorder").text, "1E+20")
        target = self.start_gtk_target(40, 30)
        before = target.frame()
        self.assertEqual(self.act("chkGo", target),
                         outcome(GTK_TITLE, "new size is out of range and cannot be applied"))
        self.assertEqual(target.frame(), before)
        self.assertEqual(self.act("chkBack", target), outcome(GTK_TITLE, "is unknown and cannot be sized back"))


if __name__ == "__main__":
    harness.main()

"""Sizing and restoring a real program's window (Wine's notepad) with real clicks."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

CRLF = "\r\n"
NOTEPAD_TITLE = "Untitled - Notepad"
# Notepad's first place, clear of the main window's title bar and toggles, which sit further
# right and lower, also once notepad has grown to 1030 x 746.
NOTEPAD_AT = (50, 40, 450, 340)


def size_of(rect):
    left, top, right, bottom = rect
    return right - left, bottom - top


class MainWindowCase:
    """The main window in the lower right corner of the display's first WIDTH x HEIGHT."""
    WIDTH, HEIGHT = 1280, 1024

    @classmethod
    def setUpClass(cls):
        cls.session = harness.session()
        cls.display = cls.make_display()

    @classmethod
    def make_display(cls):
        return cls.session.display(cls.WIDTH, cls.HEIGHT)

    def setUp(self):
        self.app = self.start_app()
        self.addCleanup(self.app.kill)
        self.app.wait_for(lambda: self.app.control("Label1").text.startswith("您的屏幕分辨率是："),
                          message="the first tick")
        left, top, right, bottom = self.app.info()["window"]
        self.app.move(self.WIDTH - (right - left), self.HEIGHT - (bottom - top) - 10,
                      self.WIDTH, self.HEIGHT - 10)

    def start_app(self):
        return self.session.start_ambrisk(self.display)

    # -- helpers -------------------------------------------------------------------------

    def result(self):
        return self.app.control("txtResult").text

    def press(self, toggle):
        self.app.activate()
        self.app.click(toggle)
        self.app.wait_for(lambda: self.app.control(toggle).checked == 1, message=f"{toggle} pressed")

    def act_on(self, toggle, click_target, timeout=3):
        """Presses the toggle, clicks the target and waits until the result text changes."""
        before = self.result()
        self.press(toggle)
        click_target()
        return self.app.wait_for(lambda: self.result() != before and self.result(), timeout=timeout,
                                 message="a new result text")


class NotepadCase(MainWindowCase):
    """The main window in the lower right corner and a notepad at NOTEPAD_AT."""
    NOTEPAD_AT = NOTEPAD_AT

    def setUp(self):
        super().setUp()
        self.notepad = self.session.start_notepad(self.display)
        self.addCleanup(self.notepad.kill)
        self.notepad.move(*self.NOTEPAD_AT)

    def click_notepad(self):
        left, top, right, bottom = self.notepad.info()["client"]
        self.notepad.click_at((left + right) // 2, (top + bottom) // 2)

    def act(self, toggle):
        return self.act_on(toggle, self.click_notepad)

    def normal(self):
        return tuple(self.notepad.placement()["normal"])


class SizingTest(NotepadCase, unittest.TestCase):

    def test_preset_sizes_notepad_and_restore_brings_it_back_once(self):
        self.app.click("optRes2")
        self.app.wait_for(lambda: self.app.control("optRes2").checked == 1, message="1024 x 768 selected")
        self.assertEqual(self.act("chkGo"), NOTEPAD_TITLE + CRLF + "调整到：1030 x 746")
        self.assertEqual(size_of(self.normal()), (1030, 746))
        self.assertEqual(self.normal()[:2], NOTEPAD_AT[:2], "notepad keeps its corner")

        # The main window in front again, with its result text beside the sized notepad.
        self.app.activate()
        time.sleep(0.3)
        path = self.display.screenshot(os.path.join(self.session.out_dir, "sizing_notepad_1030x746.png"))
        print(f"  screenshot {path}", file=sys.stderr)

        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + "恢复其原始大小。")
        self.assertEqual(self.normal(), NOTEPAD_AT)

        self.assertEqual(self.act("chkBack"),
                         NOTEPAD_TITLE + CRLF + "original size has already been restored")
        self.assertEqual(self.normal(), NOTEPAD_AT)

    def test_restoring_a_window_never_sized_leaves_it_alone(self):
        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + "is unknown and cannot be sized back")
        self.assertEqual(self.normal(), NOTEPAD_AT)

    def test_maximised_window_is_sized_normal_and_comes_back_maximised(self):
        self.press("chkGo")
        # The first click of the double click on the caption catches notepad; the second
        # maximises it well before the action 400 ms later.
        left, top, right, _ = self.notepad.info()["window"]
        self.display.xdotool("mousemove", (left + right) // 2, top + 8, "click", "--repeat", 2, "--delay", 60, 1)
        self.app.wait_for(lambda: self.result() != "结果", timeout=3, message="the sizing")
        placement = self.notepad.placement()
        self.assertEqual(placement["showCmd"], 1, "sized to the normal state")
        self.assertEqual(size_of(placement["normal"]), (646, 458))  # 640 x 480, border 3, taskbar 28

        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + "恢复其原始大小。")
        self.app.wait_for(lambda: self.notepad.placement()["showCmd"] == 3,
                                                      message="notepad maximised again")
        # Wine reports another process's maximised window with its maximised rectangle as the
        # normal one, so the normal rectangle cannot be checked here.


class OutOfRangeTest(NotepadCase, unittest.TestCase):
    def start_app(self):
        # From the stored settings: typed into the field, the letter and the plus sign are refused.
        self.session.reg_delete(harness.SETTINGS_KEY)
        self.session.reg_add(harness.SETTINGS_KEY, "Border", "1E+20")
        return self.session.start_ambrisk(self.display, reset_settings=False)

    def test_border_beyond_the_32_bit_range_leaves_the_window_untouched(self):
        self.assertEqual(self.app.control("txtBorder").text, "1E+20")
        self.assertEqual(self.act("chkGo"), NOTEPAD_TITLE + CRLF + "new size is out of range and cannot be applied")
        self.assertEqual(self.normal(), NOTEPAD_AT)
        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + "is unknown and cannot be sized back")


class HighDpiTest(NotepadCase, unittest.TestCase):
    """A 150 % screen (144 DPI): sizes stay physical pixels."""
    DPI_KEYS = (r"HKCU\Control Panel\Desktop",
                r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts")

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for key in cls.DPI_KEYS:
            cls.session.reg_add(key, "LogPixels", "144", "REG_DWORD")
        cls.session.stop_wine()  # Wine reads the DPI when it starts

    @classmethod
    def tearDownClass(cls):
        for key in cls.DPI_KEYS:
            cls.session.reg_delete(key, "LogPixels")
        cls.session.stop_wine()

    def test_preset_gives_its_size_in_physical_pixels(self):
        self.assertEqual(self.notepad.info()["dpi"], 144)
        self.app.click("optRes2")
        for option in ("chkBorder", "chkTask"):
            self.app.click(option)
            self.app.wait_for(lambda: self.app.control(option).checked == 0, message=f"{option} cleared")
        self.assertEqual(self.act("chkGo"), NOTEPAD_TITLE + CRLF + "调整到：1024 x 768")
        self.assertEqual(size_of(self.notepad.info()["window"]), (1024, 768))


if __name__ == "__main__":
    harness.main()

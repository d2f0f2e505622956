"""Sizing and restoring on less plain desktops: panels that move the work area's corner, a second
monitor, and a target program that stops answering."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_sizing import CRLF, NOTEPAD_TITLE, MainWindowCase, NotepadCase  # noqa: E402

RESTORED = "恢复其原始大小。"
NOT_RESPONDING = "is not responding and was left unchanged"
NOT_CHANGED_YET = "is not responding and has not changed yet"


def resized(title, width, height):
    return f"{title}{CRLF}调整到：{width} x {height}"


def select(app, preset):
    app.click(preset)
    app.wait_for(lambda: app.control(preset).checked == 1, message=f"{preset} selected")


def outer_rect(window):
    """The window's outer rectangle in screen coordinates."""
    return tuple(window.info()["window"])


def wait_for_event(watch, predicate, after, timeout):
    """Arrival time of the watch's first event after `after` that satisfies predicate."""
    return harness.wait_for(lambda: watch.first(predicate, after), timeout=timeout, interval=0.01,
                            message="the watched change")


class PanelTest(NotepadCase, unittest.TestCase):
    """Panels at the left (64 pixels) and at the top (40 pixels) of the screen: the work area starts
    at (64, 40), and Wine reports other programs' windows in screen coordinates."""
    WORK_AREA = (64, 40, 1216, 984)  # x, y, width, height
    NOTEPAD_AT = (100, 100, 500, 400)

    @classmethod
    def make_display(cls):
        return cls.session.display(cls.WIDTH, cls.HEIGHT, cls.WORK_AREA)

    def size_to(self, preset):
        select(self.app, preset)
        return self.act("chkGo")

    def test_windows_keep_their_place_and_come_back_exactly(self):
        self.assertEqual(self.session.probe(self.display, "screen")["workarea"], [64, 40, 1280, 1024])

        # The defaults add a border of 3 and take a taskbar of 28 off the height.
        self.assertEqual(self.size_to("optRes1"), resized(NOTEPAD_TITLE, 806, 578))
        self.assertEqual(outer_rect(self.notepad), (100, 100, 906, 678))
        self.assertEqual(self.size_to("optRes0"), resized(NOTEPAD_TITLE, 646, 458))
        self.assertEqual(outer_rect(self.notepad), (100, 100, 746, 558))
        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + RESTORED)
        self.assertEqual(outer_rect(self.notepad), (100, 100, 906, 678), "the place from before the last sizing")
        self.assertEqual(self.act("chkBack"), NOTEPAD_TITLE + CRLF + "original size has already been restored")
        self.assertEqual(outer_rect(self.notepad), (100, 100, 906, 678))

        # Where the new size does not fit, the window ends at the work area's right and bottom
        # edges, but never starts left of or above the work area. (Each time from a place clear of
        # the main window's title bar and toggles.)
        self.notepad.move(700, 500, 900, 600)
        self.assertEqual(self.size_to("optRes1"), resized(NOTEPAD_TITLE, 806, 578))
        self.assertEqual(outer_rect(self.notepad), (1280 - 806, 1024 - 578, 1280, 1024))
        self.notepad.move(700, 500, 900, 600)
        self.assertEqual(self.size_to("optRes5"), resized(NOTEPAD_TITLE, 1286, 1002))
        self.assertEqual(outer_rect(self.notepad), (64, 40, 64 + 1286, 40 + 1002))


class TwoMonitorTest(NotepadCase, unittest.TestCase):
    """A 1024 x 768 monitor with a 30-pixel panel at its top, right of the 1280 x 1024 primary one;
    notepad near its lower right corner, the main window on the primary monitor."""
    NOTEPAD_AT = (1900, 400, 2200, 650)

    @classmethod
    def make_display(cls):
        return cls.session.two_monitor_display((cls.WIDTH, cls.HEIGHT), (1024, 768),
                                               work_areas=((0, 0, 1280, 1024), (1280, 30, 1024, 738)))

    def test_window_is_sized_within_its_own_monitor(self):
        select(self.app, "optRes0")
        self.assertEqual(self.act("chkGo"), resized(NOTEPAD_TITLE, 646, 458))
        self.assertEqual(outer_rect(self.notepad), (2304 - 646, 768 - 458, 2304, 768))

        # Too large to fit from its place: it starts at the work area's top left corner on that
        # monitor, neither on the primary nor under the panel.
        select(self.app, "optRes2")
        self.assertEqual(self.act("chkGo"), resized(NOTEPAD_TITLE, 1030, 746))
        self.assertEqual(outer_rect(self.notepad), (1280, 30, 1280 + 1030, 30 + 746))


class HungTargetTest(MainWindowCase, unittest.TestCase):
    """A target that stops answering when its client area is clicked, or when it is moved after such
    a click (hang_target): the program gives up on it after about a second instead of waiting for it."""
    TARGET_AT = (50, 40, 450, 340)
    TITLE = harness.HANG_TARGET_TITLE

    def start_target(self, hang_ms, when_moved=False):
        target = self.session.start_hang_target(self.display, hang_ms, when_moved)
        self.addCleanup(target.kill)
        target.move(*self.TARGET_AT)
        return target

    @staticmethod
    def rect(target):
        # GetWindowPlacement needs no answer from the target, unlike the probe's window facts.
        return tuple(target.placement()["normal"])

    def click_client(self, target):
        left, top, right, bottom = self.rect(target)
        target.click_at((left + right) // 2, (top + bottom) // 2)

    def click_title_bar(self, target):
        left, top, right, _ = self.rect(target)
        target.click_at((left + right) // 2, top + 8)

    def click_preset_while_sizing(self, target):
        """Arms the sizing, clicks into the target and, while the action is busy with it, clicks optRes1,
        which must take effect within two seconds."""
        preset = self.app.control("optRes1").centre
        watch = self.app.watch("optRes1", 20)
        self.addCleanup(watch.stop)
        self.press("chkGo")
        self.click_client(target)
        self.app.wait_for(lambda: self.app.control("chkGo").checked == 0, message="the target caught")
        time.sleep(0.6)  # the action, 400 ms after the catch, is now waiting for the target

        clicked = time.monotonic()
        self.app.click_at(*preset)
        took = wait_for_event(watch, lambda event: event["checked"] == 1, clicked, timeout=10) - clicked
        print(f"  the preset took effect {took:.2f} s after its click", file=sys.stderr)
        self.assertLess(took, 2.0, "the program waited for the hung target")

    def test_sizing_a_hung_target_gives_up_and_leaves_it_alone(self):
        target = self.start_target(5000)
        self.click_preset_while_sizing(target)
        self.assertEqual(self.result(), self.TITLE + CRLF + NOT_RESPONDING)
        self.assertEqual(self.rect(target), self.TARGET_AT)

        # Once awake it still has its place, and the program kept no record of it.
        harness.wait_for(target.answers, timeout=10, message="the target awake")
        self.assertEqual(self.rect(target), self.TARGET_AT)
        self.assertEqual(self.act_on("chkBack", lambda: self.click_title_bar(target)),
                         self.TITLE + CRLF + "is unknown and cannot be sized back")

    def test_a_target_that_hangs_while_moved_neither_blocks_input_nor_the_close(self):
        target = self.start_target(20000, when_moved=True)
        self.click_preset_while_sizing(target)
        self.assertEqual(self.result(), self.TITLE + CRLF + NOT_CHANGED_YET)

        closing = time.monotonic()
        self.app.close()
        took = time.monotonic() - closing
        print(f"  the program ended {took:.2f} s after the close", file=sys.stderr)
        self.assertLess(took, 3.0, "the close waited for the hung target")
        self.assertEqual(self.app.process.returncode, 0)
        self.assertEqual(self.session.stored_settings()["SelectedResolution"], "1")

    def test_restoring_a_hung_target_waits_for_another_try(self):
        target = self.start_target(3000)
        select(self.app, "optRes0")
        self.assertEqual(self.act_on("chkGo", lambda: self.click_title_bar(target)),
                         resized(self.TITLE, 646, 458))
        sized = self.rect(target)

        self.assertEqual(self.act_on("chkBack", lambda: self.click_client(target), timeout=5),
                         self.TITLE + CRLF + NOT_RESPONDING)
        self.assertEqual(self.rect(target), sized)

        harness.wait_for(target.answers, timeout=10, message="the target awake")
        self.assertEqual(self.rect(target), sized)
        self.assertEqual(self.act_on("chkBack", lambda: self.click_title_bar(target)),
                         self.TITLE + CRLF + RESTORED)
        self.assertEqual(self.rect(target), self.TARGET_AT)


if __name__ == "__main__":
    harness.main()

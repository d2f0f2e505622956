"""The real window at its edges: the session ending while it is open, greyed check boxes, keys and
characters that the entry filter swallows, a window that cannot be created, a settings key that
cannot be written."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_sizing import CRLF, NOTEPAD_TITLE, NotepadCase  # noqa: E402

KEY = harness.SETTINGS_KEY
TWIPS_PER_PIXEL = 15
WM_UNICHAR = 0x0109
WM_IME_CHAR = 0x0286


class EdgeCase(harness.AppCase):
    def stored(self, name):
        return self.session.reg_query(KEY, name)

    def set_checked(self, app, name, value):
        app.click(name)
        app.wait_for(lambda: app.control(name).checked == value, message=f"{name} at {value}")


class SessionEndTest(EdgeCase):
    def test_settings_are_stored_when_the_session_ends(self):
        app = self.start()
        app.click("optRes1")
        app.wait_for(lambda: app.control("optRes1").checked == 1, message="800 x 600 selected")
        self.set_checked(app, "chkTask", 0)
        app.click("txtBorder")
        app.key("End")
        app.type("5")
        app.wait_for(lambda: app.control("txtBorder").text == "35", message="35 typed")
        left, top = app.info()["window"][:2]

        self.session.end_session(self.display)
        app.process.wait(10)
        self.assertEqual(self.session.stored_settings(), {
            "SelectedResolution": "1", "CustomWidth": "1200", "CustomHeight": "900", "AddBorder": "1",
            "Border": "35", "SubtractTaskBar": "0", "TaskBar": "28", "TaskBarOrientation": "0",
            "PosLeft": str(left * TWIPS_PER_PIXEL), "PosTop": str(top * TWIPS_PER_PIXEL)})

    def test_settings_are_stored_once_and_only_when_the_session_really_ends(self):
        app = self.start()
        self.set_checked(app, "chkTask", 0)
        self.assertEqual(app.end_session(ending=False)["query"], 1, "the program agrees to end")
        self.assertIsNone(self.stored("SubtractTaskBar"), "a cancelled session end stores nothing")

        app.end_session(ending=True)
        self.assertEqual(self.stored("SubtractTaskBar"), "0")
        # A close that still follows stores nothing again.
        self.session.reg_delete(KEY)
        app.close()
        self.assertEqual(app.process.returncode, 0)
        self.assertIsNone(self.stored("SubtractTaskBar"))


class GreyedCheckBoxTest(NotepadCase, unittest.TestCase):
    """The two options stored as 2, the check box's third state."""

    def start_app(self):
        self.session.reg_delete(KEY)
        for name in ("AddBorder", "SubtractTaskBar"):
            self.session.reg_add(KEY, name, "2")
        return self.session.start_ambrisk(self.display, reset_settings=False)

    def box_pixels(self, name):
        """A signature of the pixels of the check box's square (its left end)."""
        left, top, _, bottom = self.app.control(name).rect
        path = self.display.screenshot(os.path.join(self.session.out_dir, f"{name}_box.png"),
                                       (left, top, left + 16, bottom))
        return subprocess.run(["identify", "-format", "%#", path], check=True, capture_output=True).stdout

    def test_greyed_boxes_show_greyed_count_as_clear_and_a_click_ticks_them(self):
        for name in ("chkBorder", "chkTask"):
            self.assertEqual(self.app.control(name).checked, 2, name)
        self.app.screenshot("greyed_check_boxes")
        greyed = self.box_pixels("chkBorder")

        # 640 x 480 with neither the border added nor the taskbar taken off.
        self.assertEqual(self.act("chkGo"), NOTEPAD_TITLE + CRLF + "调整到：640 x 480")

        self.app.click("chkBorder")
        self.app.wait_for(lambda: self.app.control("chkBorder").checked == 1, message="chkBorder ticked")
        self.assertNotEqual(self.box_pixels("chkBorder"), greyed, "a ticked box looks unlike a greyed one")
        self.assertEqual(self.act("chkGo"), NOTEPAD_TITLE + CRLF + "调整到：646 x 486")


class SwallowedKeysTest(EdgeCase):
    def setUp(self):
        self.app = self.start()
        self.app.click("txtBorder")
        self.app.wait_for(lambda: self.app.focused() == "txtBorder", message="focus in txtBorder")

    def text(self):
        return self.app.control("txtBorder").text

    def settled_text(self, changed_from):
        self.app.wait_for(lambda: self.text() != changed_from, message=f"txtBorder to change from {changed_from!r}")
        return self.text()

    def test_ctrl_a_and_ctrl_z_do_nothing_while_copy_cut_and_paste_work(self):
        self.app.key("End")
        self.app.type("12")
        self.app.wait_for(lambda: self.text() == "312", message="312 typed")
        self.app.key("ctrl+a")
        self.app.type("4")
        self.assertEqual(self.settled_text("312"), "3124", "the digit goes in at the caret, not over everything")
        self.app.key("ctrl+z")
        time.sleep(0.3)
        self.assertEqual(self.text(), "3124", "no undo")

        self.app.key("BackSpace", "BackSpace", "shift+Home", "ctrl+c", "End", "ctrl+v")
        self.app.wait_for(lambda: self.text() == "3131", message="31 copied and pasted")
        self.app.key("shift+Home", "ctrl+x")
        self.app.wait_for(lambda: self.text() == "", message="everything cut")
        self.app.key("ctrl+v")
        self.app.wait_for(lambda: self.text() == "3131", message="pasted back")

    def test_characters_that_come_without_a_key_press_meet_the_same_filter(self):
        # Each refused character is followed by a digit; once the digit is in, the one before it
        # has been handled.
        self.app.key("End")
        for message, refused in ((WM_UNICHAR, ord("x")), (WM_UNICHAR, 0x1F600), (WM_IME_CHAR, ord("x"))):
            with self.subTest(message=hex(message), character=hex(refused)):
                before = self.text()
                self.app.post("txtBorder", message, refused)
                self.app.post("txtBorder", message, ord("7"))
                after = self.settled_text(before)
                self.assertEqual(sorted(after), sorted(before + "7"))


class CreationFailureTest(EdgeCase):
    def assert_ends_after_saying_so(self, what):
        result = self.session.start_refused(self.display, what)
        self.assertTrue(result["hooked"])
        self.assertIsNotNone(result["messageBox"], "a message box")
        box = result["messageBox"]
        self.assertEqual(box["title"], "Ambrisk 2")
        texts = [c["text"] for c in box["controls"] if c["class"] == "Static" and c["text"]]
        self.assertEqual(texts, ["Ambrisk 2 could not create its window."])
        self.assertFalse(result["mainWindowShown"])
        self.assertTrue(result["ended"], "the program ends once the box is closed")
        self.assertEqual(result["exitCode"], 1)

    def test_main_window_that_cannot_be_created(self):
        self.assert_ends_after_saying_so("window")

    def test_controls_that_cannot_be_created(self):
        self.assert_ends_after_saying_so("controls")


class ReadOnlySettingsTest(EdgeCase):
    def test_close_goes_on_and_the_stored_values_stay(self):
        self.session.reg_delete(KEY)
        for name, data in (("AddBorder", "1"), ("Border", "7")):
            self.session.reg_add(KEY, name, data)
        app = self.start(reset_settings=False)
        self.session.reg_access(KEY, "readonly")
        self.addCleanup(self.session.reg_delete, KEY)
        self.addCleanup(self.session.reg_access, KEY, "writable")
        with self.assertRaises(AssertionError, msg="the key is read-only"):
            self.session.reg_add(KEY, "Border", "8")

        self.set_checked(app, "chkBorder", 0)
        left, top, right, _ = app.info()["window"]
        app.click_at(right - 12, (top + app.info()["client"][1]) // 2)  # the close box
        self.assertEqual(app.process.wait(10), 0)
        self.assertEqual((self.stored("AddBorder"), self.stored("Border"), self.stored("SelectedResolution")),
                         ("1", "7", None))


if __name__ == "__main__":
    harness.main()

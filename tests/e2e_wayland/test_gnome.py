"""The Linux edition on GNOME Shell 43 (Wayland, headless): sizing and restoring a GTK dialog
(zenity) through the program's extension, the settings kept over a close and a SIGTERM, and the
sentence said when the extension is present but switched off. The program's controls are pressed
over AT-SPI; the target gets the focus as a click would give it, through the tests' own extension
(the headless shell has no input devices)."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gnome  # noqa: E402
from e2e_common.processes import shared_session, wait_for  # noqa: E402

TARGET = "GTK Target"


def session():
    return shared_session(gnome.GnomeSession)


class GnomeShellTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.session = session()

    def tearDown(self):
        self.session.end_programs()

    def result(self, app):
        return app.control("txtResult").text.replace("\r\n", "\n")

    def act(self, app, toggle, target):
        """Presses the toggle in the program's focused window, focuses the target, and waits for a
        new result text."""
        before = self.result(app)
        app.activate()
        app.click(toggle)
        wait_for(lambda: app.control(toggle).checked, message=f"{toggle} pressed")
        self.session.activate(target)
        return wait_for(lambda: self.result(app) != before and self.result(app), timeout=5,
                        message="a new result text")

    def choose(self, app, name):
        app.click(name)
        wait_for(lambda: app.control(name).checked, message=f"{name} chosen")

    def test_preset_sizes_the_visible_frame_inside_the_work_area_and_restore_is_exact(self):
        self.session.start_target(TARGET)
        app = self.session.start_ambrisk()
        self.choose(app, "optRes(2)")
        before = self.session.window(TARGET)["frame"]
        self.assertEqual(self.act(app, "chkGo", TARGET), f"{TARGET}\n调整到：1030 x 746")
        x, y, width, height = self.session.window(TARGET)["frame"]
        left, top, work_width, work_height = self.session.work_area()
        self.assertEqual((width, height), (1030, 746))
        self.assertTrue(left <= x and top <= y and x + width <= left + work_width and y + height <= top + work_height,
                        f"frame {(x, y, width, height)} inside the work area {self.session.work_area()}")
        app.activate()
        self.session.screenshot("gnome_sized_1030x746")

        self.assertEqual(self.act(app, "chkBack", TARGET), f"{TARGET}\n恢复其原始大小。")
        self.assertEqual(self.session.window(TARGET)["frame"], before)
        self.assertEqual(self.act(app, "chkBack", TARGET), f"{TARGET}\noriginal size has already been restored")

    def test_only_a_window_that_takes_the_focus_after_the_toggle_went_down_is_caught(self):
        app = self.session.start_ambrisk()
        self.session.start_target(TARGET)
        self.session.activate(TARGET)
        # Pressed over AT-SPI, the toggle leaves the focus where it was: on the target, which the
        # shell named before the toggle went down, as it may still be a moment after a click.
        app.click("chkGo")
        time.sleep(0.5)
        self.assertTrue(app.control("chkGo").checked, "nothing caught yet")
        self.assertEqual(self.result(app), "结果")
        app.activate()
        self.session.activate(TARGET)
        wait_for(lambda: self.result(app).endswith("调整到：646 x 458"), message="the target sized")

    def test_a_maximised_window_is_sized_in_its_normal_state_and_restored_maximised(self):
        self.session.start_target(TARGET)
        self.session.test_aid("Maximize", TARGET)
        wait_for(lambda: self.session.window(TARGET)["maximized"], message="the target maximised")
        app = self.session.start_ambrisk()
        self.choose(app, "optRes(2)")
        self.assertEqual(self.act(app, "chkGo", TARGET), f"{TARGET}\n调整到：1030 x 746")
        sized = self.session.window(TARGET)
        self.assertEqual((sized["maximized"], sized["frame"][2:]), (False, [1030, 746]))
        self.assertEqual(self.act(app, "chkBack", TARGET), f"{TARGET}\n恢复其原始大小。")
        wait_for(lambda: self.session.window(TARGET)["maximized"], message="the target maximised again")

    def test_settings_survive_a_close_and_sigterm(self):
        app = self.session.start_ambrisk()
        self.choose(app, "optRes(3)")
        app.close()
        self.assertEqual(app.settings()["SelectedResolution"], "3")

        app = self.session.start_ambrisk(app.home)
        self.assertTrue(app.control("optRes(3)").checked)
        self.choose(app, "optRes(4)")
        app.terminate()
        self.assertEqual(app.settings()["SelectedResolution"], "4")

    def test_an_extension_switched_off_is_told_and_one_switched_on_again_serves_anew(self):
        self.session.start_target(TARGET)
        running = self.session.start_ambrisk()
        before = self.session.window(TARGET)["frame"]
        self.session.run(["gnome-extensions", "disable", gnome.UUID])
        try:
            wait_for(lambda: not self.session.has_name("invalid.ambrisk2.Windows"), message="the extension off")
            app = self.session.start_ambrisk(wait=False)
            said = wait_for(app.message, timeout=15, message="the message box")
            self.assertIn("switched off", said)
            self.assertIn("gnome-extensions enable ambrisk2@ambrisk2.invalid", said)
            self.assertIn("log out and in again", said)
            # Started without the shell's activation token, the box does not take the focus itself.
            app.activate()
            self.session.screenshot("gnome_extension_off")
            app.close_message()
            self.assertEqual(app.process.wait(10), 1)
            self.assertIn(app.stderr().strip().removeprefix("ambrisk2: "), said)
        finally:
            self.session.run(["gnome-extensions", "enable", gnome.UUID])
            wait_for(lambda: self.session.has_name("invalid.ambrisk2.Windows"), message="the extension back on")
        # As after the screen was locked: the program that ran on is served again.
        self.assertEqual(self.act(running, "chkGo", TARGET), f"{TARGET}\n调整到：646 x 458")
        self.assertEqual(self.act(running, "chkBack", TARGET), f"{TARGET}\n恢复其原始大小。")
        self.assertEqual(self.session.window(TARGET)["frame"], before)

    def test_the_extension_serves_no_other_program(self):
        with self.assertRaisesRegex(AssertionError, "AccessDenied"):
            self.session.call("invalid.ambrisk2.Windows", "/invalid/ambrisk2/Windows", "invalid.ambrisk2.Windows",
                              "Watch")
        # Nor a copy of the program that it was not built for.
        copy = os.path.join(self.session.new_home(), "ambrisk2")
        shutil.copy(self.session.exe, copy)
        app = self.session.start_ambrisk(wait=False, exe=copy)
        self.assertIn("serves only the ambrisk2 program installed with it",
                      wait_for(app.message, timeout=15, message="the message box"))
        app.close_message()
        self.assertEqual(app.process.wait(10), 1)

if __name__ == "__main__":
    unittest.main(verbosity=2)

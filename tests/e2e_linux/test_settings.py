"""The settings file: kept over a close, a SIGTERM and a restart; a garbled file gives the defaults, one
with a byte order mark is read; a failure to store is told."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


class SettingsTest(harness.DesktopCase):

    def set_entry(self, app, name, text):
        app.click(name)
        app.key("End", *["BackSpace"] * 5)
        app.type(text)
        app.wait_for(lambda: app.control(name).text == text, message=f"{name} = {text}")

    def test_settings_come_back_after_a_close_and_after_sigterm(self):
        app = self.start_ambrisk()
        home = app.home
        app.click("optRes(7)")
        app.wait_for(lambda: app.control("txtBreit").showing and app.control("optRes(7)").checked,
                     message="custom size chosen")
        self.set_entry(app, "txtBreit", "1000")
        app.click("chkBorder")
        app.wait_for(lambda: not app.control("chkBorder").checked, message="border cleared")
        app.close()
        stored = app.settings()
        self.assertEqual(sorted(stored), sorted(harness.SETTING_NAMES))
        self.assertEqual((stored["SelectedResolution"], stored["CustomWidth"], stored["AddBorder"]), ("7", "1000", "0"))

        app = self.start_ambrisk(home)
        self.assertTrue(app.control("optRes(7)").checked)
        self.assertEqual(app.control("txtBreit").text, "1000")
        self.assertFalse(app.control("chkBorder").checked)
        self.set_entry(app, "txtBreit", "999")
        app.terminate()
        self.assertEqual(app.settings()["CustomWidth"], "999")

        app = self.start_ambrisk(home)
        self.assertEqual(app.control("txtBreit").text, "999")

    def test_garbled_file_gives_the_defaults(self):
        home = self.session.new_home()
        folder = os.path.join(home, ".config", harness.EXE_NAME)
        os.makedirs(folder)
        with open(os.path.join(folder, "settings.ini"), "wb") as f:
            f.write(b"\xff\xfe[Settings\x00\nBorder=\x80\x81\n[[[\nCustomWidth\n" + bytes(range(256)))
        app = self.start_ambrisk(home)
        self.assertEqual([app.control(name).text for name in ("txtBreit", "txtHoch", "txtBorder", "txtTask")],
                         ["1200", "900", "3", "28"])
        self.assertTrue(app.control("optRes(0)").checked)
        app.close()
        self.assertEqual(app.process.returncode, 0)

    def test_file_with_a_byte_order_mark_is_read_and_a_folder_that_refuses_the_new_one_is_told(self):
        home = self.session.new_home()
        folder = os.path.join(home, ".config", harness.EXE_NAME)
        os.makedirs(folder)
        path = os.path.join(folder, "settings.ini")
        written = b"\xef\xbb\xbf[Settings]\nSelectedResolution=7\nCustomWidth=1000\n"
        with open(path, "wb") as f:
            f.write(written)
        os.chmod(folder, 0o500)
        self.addCleanup(os.chmod, folder, 0o700)
        # Root passes over permissions; without that power it meets them as any user does.
        launcher = ["setpriv", "--bounding-set=-dac_override,-dac_read_search"] if os.geteuid() == 0 else []
        app = self.start_ambrisk(home, launcher=launcher)
        self.assertTrue(app.control("optRes(7)").checked)
        self.assertEqual(app.control("txtBreit").text, "1000")
        told = f"Ambrisk 2 could not store its settings in {path}: Permission denied."
        # Ended by a signal, the program may have no one to read a message: the terminal only.
        app.terminate()
        self.assertIn(f"ambrisk2: {told}\n", app.stderr())

        app = self.start_ambrisk(home, launcher=launcher)
        app.activate()
        app.xdotool("key", "alt+F4")
        self.assertEqual(app.wait_for(app.message, timeout=10, message="a message box"), told)
        self.assertIn(f"ambrisk2: {told}\n", app.stderr())
        self.screenshot("settings-not-stored")
        app.key("Return")
        app.process.wait(10)
        self.assertEqual(app.process.returncode, 0)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), written)


if __name__ == "__main__":
    harness.main()

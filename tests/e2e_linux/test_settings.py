"""The settings file: kept over a close, a SIGTERM and a restart; a garbled file gives the defaults."""

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


if __name__ == "__main__":
    harness.main()

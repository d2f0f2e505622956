"""The Linux edition on KDE Plasma (KWin 5.27 on Wayland, headless): a zenity dialog sized by the
1024 x 768 preset and restored through the program's KWin script, a maximised one too, the settings kept over a close and a
SIGTERM, no script of the program left in KWin once it has ended, a start that KWin's numbering of
scripts would trip, and the sentence that tells a missing script."""

import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kwin  # noqa: E402
from accessibility import message_of  # noqa: E402
from e2e_common.processes import wait_for  # noqa: E402
from e2e_common.runner import main  # noqa: E402

GTK_TITLE = "GTK Target"
OUT = os.environ.get("AMBRISK_E2E_WAYLAND_OUT") or os.path.join(kwin.REPO, "out", "e2e_wayland")


class KWinTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.root = kwin.new_root()
        cls.session = kwin.KWinSession(cls.root)
        # This process reads the programs' controls on the session's accessibility bus.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = cls.session.bus.address
        cls.own_scripts = cls.session.loaded_scripts()

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()
        shutil.rmtree(cls.root, ignore_errors=True)

    def start_ambrisk(self, home=None):
        home = home or self.session.new_home()
        app = self.session.start_ambrisk(home)
        self.addCleanup(lambda: app.process.poll() is None and app.terminate())
        app.wait_for(lambda: app.control("Label1").text.endswith("1280 x 1024"), message="the first tick")
        return app

    def result(self, app):
        return app.control("txtResult").text.replace("\r\n", "\n")

    def act(self, app, toggle, target):
        """Presses the toggle in the program's window, then activates the target as a click on it would,
        and waits for a new result text."""
        before = self.result(app)
        self.session.activate(app.process.pid)
        app.press(toggle)
        app.wait_for(lambda: app.control(toggle).checked, message=f"{toggle} pressed")
        self.session.activate(target.pid)
        return app.wait_for(lambda: self.result(app) != before and self.result(app), timeout=5,
                            message="a new result text")

    def select(self, app, name, checked=True):
        app.press(name)
        app.wait_for(lambda: app.control(name).checked == checked, message=f"{name} {checked}")

    def assert_no_script_of_ours(self):
        wait_for(lambda: self.session.loaded_scripts() == self.own_scripts, message="the program's scripts unloaded")

    def start_target(self):
        target = self.session.start(["zenity", "--text-info", "--title", GTK_TITLE, "--filename", "/etc/os-release"])
        self.addCleanup(kwin.end_group, target)
        self.session.move(target.pid, 40, 30, 520, 440)
        return target

    def test_preset_sizes_a_gtk_window_and_restore_brings_it_back_once(self):
        target = self.start_target()
        before = self.session.window(target.pid)["frame"]
        app = self.start_ambrisk()
        self.select(app, "optRes(2)")

        self.assertEqual(self.act(app, "chkGo", target), GTK_TITLE + "\n调整到：1030 x 746")
        x, y, width, height = self.session.window(target.pid)["frame"]
        self.assertEqual((x, y, width, height), (40, 30, 1030, 746), "visible frame sized, corner kept")
        self.assertTrue(x >= 0 and y >= 0 and x + width <= kwin.WIDTH and y + height <= kwin.HEIGHT, "in the work area")
        self.session.activate(app.process.pid)
        self.session.screenshot(os.path.join(OUT, "kwin_gtk_1030x746.png"))

        self.assertEqual(self.act(app, "chkBack", target), GTK_TITLE + "\n恢复其原始大小。")
        wait_for(lambda: self.session.window(target.pid)["frame"] == before, message="the former frame")
        self.assertEqual(self.act(app, "chkBack", target), GTK_TITLE + "\noriginal size has already been restored")
        self.assertEqual(self.session.window(target.pid)["frame"], before)

    def test_maximised_window_is_sized_normal_and_comes_back_maximised(self):
        target = self.start_target()
        self.session.run_script(f"workspace.clientList().find(w => w.pid === {target.pid}).setMaximize(true, true);"
                                "answer(0);")
        wait_for(lambda: self.session.window(target.pid)["frame"] == (0, 0, kwin.WIDTH, kwin.HEIGHT),
                 message="maximised")
        app = self.start_ambrisk()
        self.select(app, "optRes(2)")
        self.assertEqual(self.act(app, "chkGo", target), GTK_TITLE + "\n调整到：1030 x 746")
        self.assertEqual(self.session.window(target.pid)["frame"], (0, 0, 1030, 746))
        self.assertEqual(self.act(app, "chkBack", target), GTK_TITLE + "\n恢复其原始大小。")
        wait_for(lambda: self.session.window(target.pid)["frame"] == (0, 0, kwin.WIDTH, kwin.HEIGHT),
                 message="maximised again")

    def test_settings_survive_a_close_and_sigterm_and_no_script_stays_behind(self):
        app = self.start_ambrisk()
        self.assertEqual(len(self.session.loaded_scripts()), len(self.own_scripts) + 1, "one script while it runs")
        self.select(app, "optRes(5)")
        self.select(app, "chkBorder", checked=False)
        self.session.close_window(app.process.pid)
        app.process.wait(10)
        self.assertIn("SelectedResolution=5", self.stored(app))
        self.assertIn("AddBorder=0", self.stored(app))
        self.assert_no_script_of_ours()

        app = self.start_ambrisk(app.home)
        self.assertTrue(app.control("optRes(5)").checked)
        self.assertFalse(app.control("chkBorder").checked)
        self.select(app, "chkTask", checked=False)
        app.terminate()
        self.assertIn("SubtractTaskBar=0", self.stored(app))
        self.assert_no_script_of_ours()

    def test_starts_where_kwin_numbers_its_script_as_another_and_says_when_the_script_is_missing(self):
        # KWin numbers a script by how many are loaded: with the first of two unloaded, the next
        # one gets the number of the second.
        first, second = self.session.load_script("answer(1);"), self.session.load_script("answer(2);")
        self.session.unload_script(first)
        self.addCleanup(self.session.unload_script, second)
        app = self.start_ambrisk()
        app.terminate()

        lone = os.path.join(self.session.new_home("lone-"), "ambrisk2")
        shutil.copy(kwin.exe_path(), lone)
        home = self.session.new_home()
        with open(os.path.join(home, "stderr.txt"), "wb") as stderr:
            process = self.session.spawn([lone], home, stderr)
        self.addCleanup(kwin.end_group, process)
        text = wait_for(lambda: message_of(process.pid), timeout=15, message="the refusal")
        self.assertIn("KWin script (ambrisk2-kwin.js) is missing", text)

    def stored(self, app):
        with open(app.settings_path, encoding="utf-8") as f:
            return f.read()


if __name__ == "__main__":
    main()

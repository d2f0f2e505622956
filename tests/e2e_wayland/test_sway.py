"""Ambrisk 2 on a headless Sway: the program's own window opens as a Wayland client and is driven by
real clicks and keys through the seat; foot (tiled) and a GTK dialog (floating) are sized and restored;
the settings survive a close, a SIGTERM and the end of the session."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sway  # noqa: E402

SIZED = "调整到：1030 x 746"
RESTORED = "恢复其原始大小。"
# From the first preset, which has the focus at the start, once round; as on X11.
TAB_ORDER = ["chkBorder", "txtBorder", "chkTask", "optTask(0)", "txtTask", "chkGo", "chkBack", "txtResult",
             "cmdRestoreDefaults", "cmdHelp", "optRes(0)"]
TAB, BACKSPACE, DIGIT_1, DIGIT_0, ENTER = 15, 14, 2, 11, 28  # evdev key codes


class SwayTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.sway = sway.session()

    def start(self, args, **kwargs):
        window = self.sway.start(args, **kwargs)
        self.addCleanup(window.kill)
        return window

    def start_ambrisk(self, home=None):
        app = self.sway.start_ambrisk(home)
        self.addCleanup(app.kill)
        app.control("txtResult")
        return app

    def pass_over(self, window):
        x, y, _, _ = window.frame()
        self.sway.move_pointer(x + 30, y + 50)
        self.sway.move_pointer(x + 40, y + 60)

    def act(self, app, toggle, target, hover=None):
        """Presses the toggle, passes the pointer over `hover` (if given) and clicks into the target;
        returns the new result text."""
        before = app.result()
        app.focus()
        app.click(toggle)
        sway.wait_for(lambda: app.control(toggle)["checked"], message=f"{toggle} pressed")
        if hover is not None:
            self.pass_over(hover)
            time.sleep(0.3)
        target.click_inside()
        return sway.wait_for(lambda: app.result() != before and app.result(), timeout=5, message="a new result")

    def test_opens_natively_and_sizes_and_restores_tiled_and_floating_windows(self):
        app = self.start_ambrisk()
        self.assertEqual(app.node()["shell"], "xdg_shell", "a native Wayland window")
        screen = app.control("Label1")["text"]
        self.assertTrue(screen.startswith(f"您的屏幕分辨率是：{sway.WIDTH} x {sway.HEIGHT}"), screen)
        foot = self.start(["foot", "-T", "Foot Target", "sh"])
        dialog = self.start(["zenity", "--entry", "--title", "GTK Target", "--text", "target"])
        self.sway.swaymsg(f"[con_id={dialog.node()['id']}] floating enable, resize set width 500 px height 300 px, "
                          "move absolute position 700 px 100 px")
        sway.wait_for(lambda: dialog.frame() == (700, 100, 500, 300), message="the dialog floating")
        app.focus()
        app.click("optRes(2)")
        sway.wait_for(lambda: app.control("optRes(2)")["checked"], message="1024 x 768 chosen")
        self.sway.screenshot("sway_window")
        left, top, width, height = self.sway.work_area()

        for title, target in (("Foot Target", foot), ("GTK Target", dialog)):
            with self.subTest(title):
                tiled = not target.floating()
                before = target.frame()
                # Sway's focus follows the pointer; while armed, only the click counts.
                hover = dialog if target is foot else None
                self.assertEqual(self.act(app, "chkGo", target, hover), f"{title}\n{SIZED}")
                x, y, w, h = target.frame()
                self.assertEqual((w, h), (1030, 746))
                self.assertTrue(left <= x and top <= y and x + w <= left + width and y + h <= top + height)
                self.assertTrue(target.floating())
                self.sway.screenshot(f"sway_sized_{'tiled' if tiled else 'floating'}")
                self.assertEqual(self.act(app, "chkBack", target), f"{title}\n{RESTORED}")
                sway.wait_for(lambda: target.frame() == before, message="the frame as before")
                self.assertEqual(target.floating(), not tiled)

    def test_focus_follows_the_pointer_only_while_a_toggle_is_down_until_the_program_ends(self):
        app = self.start_ambrisk()
        foot = self.start(["foot", "-T", "Foot Target", "sh"])
        dialog = self.start(["zenity", "--entry", "--title", "GTK Target", "--text", "target"])
        app.focus()
        app.click("chkBack")
        sway.wait_for(lambda: app.control("chkBack")["checked"], message="chkBack pressed")
        self.pass_over(dialog)
        self.pass_over(foot)
        time.sleep(0.3)
        self.assertTrue(app.node()["focused"])
        app.terminate()
        dialog.focus()
        self.pass_over(dialog)
        self.pass_over(foot)
        sway.wait_for(lambda: foot.node()["focused"], message="the focus following the pointer again")

    def test_a_socket_that_does_not_answer_is_told_in_a_sentence(self):
        app = self.sway.start_ambrisk(extra={"SWAYSOCK": "/nonexistent/sway-ipc.sock"})
        self.addCleanup(app.kill)
        sway.wait_for(lambda: "Sway does not answer on its IPC socket /nonexistent/sway-ipc.sock, so Ambrisk 2 "
                      "cannot reach its windows." in app.stderr(), message="the refusal")
        app.focus()
        self.sway.key(ENTER)
        self.assertEqual(app.process.wait(10), 1)

    def test_keyboard_moves_through_the_controls_in_order_and_types(self):
        app = self.start_ambrisk()
        app.focus()
        order = []
        for _ in TAB_ORDER:
            self.sway.key(TAB)
            order.append(next((name for name, c in app.controls().items() if c["focused"]), None))
        self.assertEqual(order, TAB_ORDER)
        app.click("optRes(7)")
        app.click("txtBreit")
        for code in [BACKSPACE] * 5 + [DIGIT_1, DIGIT_0, DIGIT_0, DIGIT_0]:
            self.sway.key(code)
        sway.wait_for(lambda: app.control("txtBreit")["text"] == "1000", message="1000 typed")

    def test_settings_survive_a_close_and_sigterm(self):
        # Where the window was on X11: a Wayland client never learns its place, and keeps this one.
        home = self.sway.new_home({"PosLeft": "3000", "PosTop": "1500"})
        app = self.start_ambrisk(home)
        app.click("optRes(2)")
        sway.wait_for(lambda: app.control("optRes(2)")["checked"], message="1024 x 768 chosen")
        app.close()
        with open(app.settings_path, encoding="utf-8") as f:
            stored = f.read().split()
        self.assertTrue({"SelectedResolution=2", "PosLeft=3000", "PosTop=1500"} <= set(stored), stored)

        app = self.start_ambrisk(home)
        self.assertTrue(app.control("optRes(2)")["checked"])
        app.click("optRes(4)")
        sway.wait_for(lambda: app.control("optRes(4)")["checked"], message="1280 x 960 chosen")
        app.terminate()
        with open(app.settings_path, encoding="utf-8") as f:
            self.assertIn("SelectedResolution=4", f.read())

    def test_settings_survive_the_end_of_the_session(self):
        own = sway.Sway()
        self.addCleanup(own.close)
        app = own.start_ambrisk()
        app.control("txtResult")
        app.click("optRes(2)")
        sway.wait_for(lambda: app.control("optRes(2)")["checked"], message="1024 x 768 chosen")
        own.end_session()
        self.assertEqual(app.process.wait(10), 1)
        with open(app.settings_path, encoding="utf-8") as f:
            self.assertIn("SelectedResolution=2", f.read())


if __name__ == "__main__":
    unittest.main()

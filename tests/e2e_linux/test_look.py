"""The main window as drawn and as a screen reader finds it."""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

# Controls that belong to an array carry their index in the accessible id: optRes(2).
ACCESSIBLE_IDS = [re.sub(r"^(optRes|optTask)(\d+)$", r"\1(\2)", name) for name in harness.CONTROL_NAMES]


class LookTest(harness.DesktopCase):

    def test_window_with_chinese_texts_and_every_control_found_by_its_name(self):
        app = self.start_ambrisk()
        app.wait_for(lambda: app.control("Label1").text == "您的屏幕分辨率是：1280 x 1024", message="the first tick")
        x, y, width, height = app.frame()
        path = self.screenshot("main_window", (x, y, x + width, y + height))
        print(f"  screenshot {path}", file=sys.stderr)

        self.assertEqual(app.client()[2:], (353, 385), "client area in pixels")
        allowed = set(app.property("_NET_WM_ALLOWED_ACTIONS"))
        self.assertIn("_NET_WM_ACTION_MINIMIZE", allowed)
        self.assertFalse({"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_RESIZE"} & allowed, "fixed size")

        controls = {name: app.control(name) for name in ACCESSIBLE_IDS}
        self.assertEqual(controls["cmdHelp"].accessible_name, "帮助")
        self.assertEqual(controls["optRes(7)"].accessible_name, "自定义")
        self.assertEqual(controls["txtTask"].text, "28")
        self.assertEqual({name for name, c in controls.items() if c.checked},
                         {"optRes(0)", "chkBorder", "chkTask", "optTask(0)"})
        self.assertEqual({name for name, c in controls.items() if not c.sensitive}, {"optRes(6)", "txtBreit", "txtHoch"})
        self.assertEqual({name for name, c in controls.items() if not c.showing}, set())

        # The click lands in the middle of "28", where it would leave the caret.
        app.click("txtTask")
        self.assertEqual(app.wait_for(lambda: app.control("txtTask").selection), (0, 2), "all selected by a click")

if __name__ == "__main__":
    harness.main()

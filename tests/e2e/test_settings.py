"""The ten settings under Wine: seeded in the registry, shown at start, written back when the window is
closed through its close box, back again at the next start; the defaults button and the help message."""


import harness

KEY = harness.SETTINGS_KEY
TWIPS_PER_PIXEL = 15  # Wine's screen runs at 96 DPI
HELP_TITLE = "Ambrisk 2.2.1 - Help"
HELP_TEXT = "\r\n".join([
    "Ambrisk的作用就是任意改变一个窗口的大小。", ".",
    "这是一个非常有用的功能，可以不受应用程序本身的限制，随意改变其窗口的大小。", "", ".",
    "注意：不能选择高于系统屏幕分辨率的分辨率调整应用程序窗口的大小。", ".", ".", ".", ".", ".", ".", "", ".", ""])
SS_ICON = 0x3


class SettingsTest(harness.AppCase):
    def start(self):
        return super().start(reset_settings=False)

    def seed(self, values):
        self.session.reg_delete(KEY)
        for name, data in values.items():
            self.session.reg_add(KEY, name, data)

    def close_by_close_box(self, app):
        left, top, right, _ = app.info()["window"]
        client_top = app.info()["client"][1]
        app.click_at(right - 12, (top + client_top) // 2)
        app.process.wait(10)

    def assertControls(self, app, expected):
        controls = app.controls()
        for name, (text, enabled, checked) in expected.items():
            control = controls[name]
            if text is not None:
                self.assertEqual(control.text, text, name)
            self.assertEqual(control.enabled, enabled, name)
            self.assertEqual(control.checked, checked, name)

    def test_settings_come_back_after_a_close_through_the_close_box(self):
        self.seed({"SelectedResolution": "7", "CustomWidth": "0800", "CustomHeight": "600", "AddBorder": "0",
                   "Border": "5", "SubtractTaskBar": "0", "TaskBar": "40", "TaskBarOrientation": "1",
                   "PosLeft": "3000", "PosTop": "1500"})
        app = self.start()
        self.assertControls(app, {
            "optRes0": (None, True, 0), "optRes7": (None, True, 1),
            "txtBreit": ("800", True, 0), "txtHoch": ("600", True, 0),
            "chkBorder": (None, True, 0), "txtBorder": ("5", False, 0),
            "chkTask": (None, True, 0), "txtTask": ("40", False, 0),
            "optTask0": (None, False, 0), "optTask1": (None, False, 1)})
        self.assertEqual(app.info()["window"][:2], [200, 100])

        # Partly off the bottom edge; the entry cleared by the user.
        left, top, right, bottom = app.info()["window"]
        height = bottom - top
        app.move(800, 900, 800 + right - left, 900 + height)
        app.wait_for(lambda: app.info()["window"][:2] == [800, 900], message="window moved")
        app.click("txtHoch")
        app.key("BackSpace")
        app.wait_for(lambda: app.control("txtHoch").text == "", message="txtHoch cleared")
        self.close_by_close_box(app)

        self.assertEqual(self.session.stored_settings(), {
            "SelectedResolution": "7", "CustomWidth": "800", "CustomHeight": "", "AddBorder": "0",
            "Border": "5", "SubtractTaskBar": "0", "TaskBar": "40", "TaskBarOrientation": "1",
            "PosLeft": str(800 * TWIPS_PER_PIXEL), "PosTop": str(900 * TWIPS_PER_PIXEL)})

        app = self.start()
        self.assertControls(app, {
            "optRes7": (None, True, 1), "txtBreit": ("800", True, 0), "txtHoch": ("0", True, 0),
            "chkBorder": (None, True, 0), "txtBorder": ("5", False, 0),
            "chkTask": (None, True, 0), "txtTask": ("40", False, 0), "optTask1": (None, False, 1)})
        # Pulled back from the bottom edge only.
        self.assertEqual(app.info()["window"][:2], [800, 1024 - height])

        app.click("cmdRestoreDefaults")
        app.wait_for(lambda: app.control("optRes0").checked == 1, message="defaults restored")
        self.assertControls(app, {
            "optRes0": (None, True, 1), "optRes7": (None, True, 0),
            "txtBreit": ("800", False, 0), "txtHoch": ("0", False, 0),
            "chkBorder": (None, True, 1), "txtBorder": ("3", True, 0),
            "chkTask": (None, True, 1), "txtTask": ("28", True, 0),
            "optTask0": (None, True, 1), "optTask1": (None, True, 0)})
        # The button writes nothing: the store still holds the previous run's values.
        self.assertEqual(self.session.reg_query(KEY, "AddBorder"), "0")

    def test_help_shows_the_text_in_an_information_box_with_one_ok_button(self):
        self.session.reg_delete(KEY)
        app = self.start()
        app.click("cmdHelp")
        box = harness.wait_for(
            lambda: self.session.probe(self.display, "controls", HELP_TITLE, allow_missing=True),
            message="help message box")
        buttons = [c for c in box["controls"] if c["class"] == "Button"]
        self.assertEqual([b["text"] for b in buttons], ["OK"])
        texts = [c["text"] for c in box["controls"] if c["class"] == "Static" and c["text"]]
        self.assertEqual(len(texts), 1)
        self.assertTrue(texts[0].startswith(HELP_TEXT + "\r\n免费软件。"), texts[0])
        self.assertEqual(texts[0].count("\r\n"), 15)
        self.assertTrue(any(c["class"] == "Static" and c["style"] & 0xF == SS_ICON for c in box["controls"]))

        app.click_at(*harness.Control("OK", {**buttons[0], "id": 1}).centre)
        harness.wait_for(lambda: self.session.probe(self.display, "window", HELP_TITLE, allow_missing=True) is None,
                         message="help message box closed")
        # The main window is usable again and unchanged.
        self.assertEqual(app.control("optRes0").checked, 1)


if __name__ == "__main__":
    harness.main()

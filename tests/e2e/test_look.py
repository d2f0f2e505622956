"""How the main window looks and answers beyond its layout, read from outside: the toggles' fonts
and colours in a screenshot, the tooltips, the result field, and what an entry selects and takes."""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

WIDTH, HEIGHT = 1280, 1024
FAR_FROM_THE_WINDOW = (WIDTH - 20, HEIGHT - 20)

# Caption font and colour of each toggle: face, points, weight, underlined, text colour.
CAPTIONS = {
    "chkGo": ("Arial", 8.25, 700, True, (9, 106, 0)),
    "chkBack": ("Arial", 8.25, 400, False, (64, 0, 64)),
}
TOOLTIPS = {
    "cmdRestoreDefaults": "Restore default settings",
    "chkBack": "This only works for windows you have resized since this program was started",
}
ES_MULTILINE, ES_READONLY, WS_VSCROLL = 0x0004, 0x0800, 0x00200000


def ink_rows(pixels, colour):
    """One string per row of the image, '#' where a pixel has exactly the colour: the pixels that a
    glyph covers fully, whatever the anti-aliasing does at its edges."""
    return ["".join("#" if pixels.at(x, y) == colour else "." for x in range(pixels.width))
            for y in range(pixels.height)]


def trimmed(rows):
    """The rows cut to the box around their '#' pixels."""
    inked = [y for y, row in enumerate(rows) if "#" in row]
    if not inked:
        return []
    left = min(row.index("#") for row in rows if "#" in row)
    right = max(row.rindex("#") for row in rows if "#" in row) + 1
    return [row[left:right] for row in rows[inked[0]:inked[-1] + 1]]


def longest_run(row):
    return max((len(run) for run in re.findall("#+", row)), default=0)


def eventually(read, expected, timeout=2.0):
    """What read() returns once it is the expected value, or at the end of the timeout."""
    try:
        harness.wait_for(lambda: read() == expected, timeout=timeout)
    except AssertionError:
        pass
    return read()


def rgb_hex(colour):
    return "%02x%02x%02x" % colour


class LookOfTheMainWindow(unittest.TestCase):
    """One start of the program for every check; each check sets up the state it looks at."""

    @classmethod
    def setUpClass(cls):
        cls.session = harness.session()
        cls.display = cls.session.display(WIDTH, HEIGHT)
        cls.app = cls.session.start_ambrisk(cls.display)
        cls.addClassCleanup(cls.app.kill)
        cls.app.wait_for(lambda: cls.app.control("Label1").text.startswith("您的"), message="the first tick")

    def tooltips(self):
        return self.session.probe(self.display, "tooltips", self.app.hwnd)

    def move_pointer_away(self):
        self.display.xdotool("mousemove", *FAR_FROM_THE_WINDOW)
        harness.wait_for(lambda: not any(tip["visible"] for tip in self.tooltips()), message="no tooltip shown")

    def test_toggle_captions_in_their_font_and_colour(self):
        self.move_pointer_away()
        for name, (face, points, weight, underline, colour) in CAPTIONS.items():
            with self.subTest(toggle=name):
                control = self.app.control(name)
                self.assertEqual(control.checked, 0, "released: the pressed face is drawn by the theme")
                shot = self.display.screenshot(os.path.join(self.session.out_dir, f"look_{name}.png"),
                                               control.rect)
                pixels = harness.Pixels(shot)
                seen = trimmed(ink_rows(pixels, colour))
                self.assertTrue(seen, f"no pixel of exactly {colour} in {name}")

                # The caption as the system draws it in the expected font, on the same face colour.
                paper = pixels.most_common()
                drawn = self.session.probe(self.display, "text", self.app.hwnd, face, points, weight,
                                           int(underline), rgb_hex(colour), rgb_hex(paper), control.text)
                text_width = drawn["extent"][0]
                below_glyphs = seen[-1]
                if underline:
                    self.assertAlmostEqual(longest_run(below_glyphs), text_width, delta=1,
                                           msg="an underline as wide as the text, below the glyphs")
                else:
                    self.assertLess(longest_run(below_glyphs), text_width // 2, "no underline")
                # Weight, size and face show in the fully inked pixels of the glyphs. A face that
                # falls back to the same font draws the same pixels: without Arial installed, Wine
                # draws Arial and the dialog font alike with the CJK font linked to them.
                self.assertEqual(seen, trimmed(drawn["rows"]),
                                 f"{name} drawn as {face} {points} pt, weight {weight}")

    def test_tooltips_only_on_the_defaults_button_and_the_restoring_toggle(self):
        names = {harness.CONTROL_IDS[name]: name for name in harness.CONTROL_NAMES}
        tools = sorted((names.get(tool["id"], str(tool["id"])), tool["text"])
                       for tip in self.tooltips() for tool in tip["tools"])
        self.assertEqual(tools, sorted(TOOLTIPS.items()))

        # And each shows when the pointer rests on its control.
        for name, text in TOOLTIPS.items():
            with self.subTest(control=name):
                self.display.xdotool("mousemove", *self.app.control(name).centre)
                harness.wait_for(lambda: any(tip["visible"] and tip["text"] == text for tip in self.tooltips()),
                                 message=f"the tooltip of {name}")
        self.move_pointer_away()

    def test_result_field_is_read_only_multi_line_on_the_button_face(self):
        control = self.app.control("txtResult")
        for bit, what in ((ES_MULTILINE, "multi-line"), (ES_READONLY, "read-only"), (WS_VSCROLL, "scroll bar")):
            self.assertTrue(control.style & bit, what)

        colours = self.session.probe(self.display, "colours")
        button_face = tuple(colours["btnface"])
        self.assertNotEqual(button_face, tuple(colours["window"]), "the two colours tell the cases apart")
        pixels = harness.Pixels(self.display.screenshot(os.path.join(self.session.out_dir, "look_txtResult.png"),
                                                        control.rect))
        # Inside the border, left of the scroll bar.
        inside = pixels.most_common(4, 4, pixels.width * 3 // 4, pixels.height - 4)
        self.assertEqual(inside, button_face)

    def test_entry_selects_its_text_on_focus_and_takes_five_pasted_digits(self):
        app = self.app
        # The click lands right of the "3", where it would leave the caret.
        app.click("txtBorder")
        app.wait_for(lambda: app.focused() == "txtBorder", message="focus in txtBorder")
        self.assertEqual(eventually(lambda: app.selection("txtBorder"), (0, 1)), (0, 1), "all selected by a click")

        self.session.probe(self.display, "clipboard", "1234567")
        app.key("ctrl+v")
        app.wait_for(lambda: app.control("txtBorder").text != "3", message="the paste")
        self.assertEqual(app.control("txtBorder").text, "12345")

        app.key("Tab", "Tab", "Tab")  # chkTask, optTask0, txtTask
        app.wait_for(lambda: app.focused() == "txtTask", message="focus in txtTask")
        self.assertEqual(eventually(lambda: app.selection("txtTask"), (0, 2)), (0, 2), "all selected by Tab")


if __name__ == "__main__":
    harness.main()

"""What both editions of the program show the tests from outside: the main window's title, its
controls (named as in the table of ui/layout.h) and the names of its stored settings."""

import os
import re

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "Ambrisk 2"
SETTING_NAMES = ("SelectedResolution", "CustomWidth", "CustomHeight", "AddBorder", "Border", "SubtractTaskBar",
                 "TaskBar", "TaskBarOrientation", "PosLeft", "PosTop")


def _control_names():
    """Control names in the order of the enum in ui/layout.h."""
    with open(os.path.join(REPO, "ui", "layout.h"), encoding="utf-8") as f:
        body = re.search(r"enum Ctl\s*:\s*int\s*\{(.*?)ControlCount", f.read(), re.S).group(1)
    body = re.sub(r"//[^\n]*", "", body)
    return [name.strip() for name in body.split(",") if name.strip()]


CONTROL_NAMES = _control_names()

"""What both editions of the program show the tests from outside: the main window's title, its
controls (named as in the table of ui/layout.h) and the names of its stored settings."""

import configparser
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


class LinuxRunFiles:
    """What a run of the Linux edition leaves in its home folder: its standard error, which the
    harnesses send to stderr_path (by default stderr.txt there), and its settings file."""

    home = stderr_path = None

    def stderr(self):
        with open(self.stderr_path or os.path.join(self.home, "stderr.txt"), encoding="utf-8",
                  errors="replace") as f:
            return f.read()

    @property
    def settings_path(self):
        return os.path.join(self.home, ".config", "ambrisk2", "settings.ini")

    def settings(self):
        """The [Settings] section of the stored file, or None when there is no file."""
        if not os.path.exists(self.settings_path):
            return None
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(self.settings_path, encoding="utf-8")
        return dict(parser["Settings"]) if parser.has_section("Settings") else {}

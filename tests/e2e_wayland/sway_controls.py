"""Prints, as JSON, the controls of a program's main window as a screen reader reads them:
{name: {text, checked, showing, focused, extents}}. Run as the user of the program's session bus
(DBUS_SESSION_BUS_ADDRESS), which the test's own process cannot join.

    python3 sway_controls.py PID TITLE
"""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(os.path.dirname(HERE), "e2e_linux"), os.path.dirname(HERE)]
from accessibility import Control, controls_of  # noqa: E402


def main():
    found = controls_of(int(sys.argv[1]), sys.argv[2]) or {}
    controls = {}
    for name, accessible in found.items():
        control = Control(name, accessible)
        controls[name] = {"text": control.text, "checked": control.checked, "showing": control.showing,
                          "focused": control.focused, "extents": control.extents}
    print(json.dumps(controls))


if __name__ == "__main__":
    main()

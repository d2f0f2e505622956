"""Runs every tests/e2e_wayland/test_*.py: the Linux edition on each Wayland desktop it works with,
each compositor headless. Prints each test with its outcome and ends with "N passed, N failed".
Exit code 1 on any failure, or when nothing passed.

    /usr/bin/python3 tests/e2e_wayland/run.py [pattern]     (default pattern: test_*.py)
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.dirname(HERE)]
from e2e_common.runner import run_folder  # noqa: E402

if __name__ == "__main__":
    sys.exit(run_folder(HERE, "Wayland end-to-end tests"))

"""Runs every tests/e2e_linux/test_*.py in one process (one bus, one desktop per screen size),
prints each test with its outcome and ends with "N passed, N failed, N skipped".
Exit code 1 on any failure, or when nothing passed and nothing was skipped.

    /usr/bin/python3 tests/e2e_linux/run.py [pattern]     (default pattern: test_*.py)
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.dirname(HERE)]
from e2e_common.runner import run_folder  # noqa: E402

if __name__ == "__main__":
    sys.exit(run_folder(HERE, "Linux end-to-end tests", skips_pass=True))

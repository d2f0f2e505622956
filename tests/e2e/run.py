"""Runs every tests/e2e/test_*.py in one process (one Wine prefix, one display per screen size),
prints each test with its outcome and ends with "N passed, N failed". Exit code 1 on any failure.

    /usr/bin/python3 tests/e2e/run.py [pattern]     (default pattern: test_*.py)
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.dirname(HERE)]
import harness  # noqa: E402
from e2e_common.runner import run_folder  # noqa: E402

if __name__ == "__main__":
    sys.exit(run_folder(HERE, "end-to-end tests", notes=[f"route: {harness.wine_route().text}"]))

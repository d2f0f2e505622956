"""Runs every tests/e2e_linux/test_*.py in one process (one bus, one desktop per screen size),
prints each test with its outcome and ends with "N passed, N failed, N skipped".
Exit code 1 on any failure, or when nothing passed and nothing was skipped.

    /usr/bin/python3 tests/e2e_linux/run.py [pattern]     (default pattern: test_*.py)
"""

import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness  # noqa: E402


def main():
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(HERE, pattern=pattern, top_level_dir=HERE)
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=0, resultclass=harness.Result)
    started = time.monotonic()
    result = runner.run(suite)
    passed, failed, skipped = result.counts()
    print(f"Linux end-to-end tests took {time.monotonic() - started:.0f} s")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed or not (passed or skipped) else 0


if __name__ == "__main__":
    sys.exit(main())

"""Runs every tests/e2e/test_*.py in one process (one Wine prefix, one display per screen size),
prints each test with its outcome and ends with "N passed, N failed". Exit code 1 on any failure.

    /usr/bin/python3 tests/e2e/run.py [pattern]     (default pattern: test_*.py)
"""

import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness  # noqa: E402


class Result(unittest.TextTestResult):
    """Prints one line per test; a test with a failed subtest counts as one failure."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.outcomes = {}  # test id -> PASS, FAIL, ERROR or SKIP

    def startTest(self, test):
        self._started = time.monotonic()
        self.outcomes[test.id()] = "PASS"
        unittest.TestResult.startTest(self, test)

    def stopTest(self, test):
        unittest.TestResult.stopTest(self, test)
        self.stream.write(f"{self.outcomes[test.id()]:<5} {test.id()}  ({time.monotonic() - self._started:.1f} s)\n")
        self.stream.flush()

    def _mark(self, test, outcome):
        test_id = getattr(test, "test_case", test).id()
        if self.outcomes.get(test_id) in (None, "PASS", "SKIP"):
            self.outcomes[test_id] = outcome

    def addSuccess(self, test):
        unittest.TestResult.addSuccess(self, test)

    def addFailure(self, test, err):
        unittest.TestResult.addFailure(self, test, err)
        self._mark(test, "FAIL")

    def addError(self, test, err):
        unittest.TestResult.addError(self, test, err)
        self._mark(test, "ERROR")

    def addSkip(self, test, reason):
        unittest.TestResult.addSkip(self, test, reason)
        self._mark(test, "SKIP")

    def addSubTest(self, test, subtest, err):
        unittest.TestResult.addSubTest(self, test, subtest, err)
        if err is not None:
            self._mark(test, "FAIL")


def main():
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(HERE, pattern=pattern, top_level_dir=HERE)
    route = f"route: {harness.wine_route().text}"
    print(route, flush=True)
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=0, resultclass=Result)
    started = time.monotonic()
    result = runner.run(suite)
    outcomes = list(result.outcomes.values())
    passed = outcomes.count("PASS")
    failed = outcomes.count("FAIL") + outcomes.count("ERROR")
    # Errors outside a test (a failed setUpClass, a module that does not import) count too.
    failed += sum(1 for test, _ in result.errors if test.id() not in result.outcomes)
    print(f"end-to-end tests took {time.monotonic() - started:.0f} s")
    print(route)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())

"""What each suite's run.py does: runs every test_*.py of its folder in one process, prints one line
per test, and ends with the summary line "N passed, N failed" that scripts/test.sh reads as the
last line of the output; the exit code is 1 on any failure."""

import sys
import time
import unittest


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

    def counts(self):
        """(passed, failed, skipped); errors outside a test (a failed setUpClass, a module that
        does not import) count as failures too."""
        outcomes = list(self.outcomes.values())
        failed = outcomes.count("FAIL") + outcomes.count("ERROR")
        failed += sum(1 for test, _ in self.errors if test.id() not in self.outcomes)
        return outcomes.count("PASS"), failed, outcomes.count("SKIP")


def run_folder(folder, name, notes=(), skips_pass=False):
    """Runs the folder's tests matching sys.argv[1] (default test_*.py) and returns the exit code.
    notes are lines printed before the tests and again before the summary. With skips_pass the
    summary also counts the skipped tests, and a run whose every test skipped is no failure."""
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(folder, pattern=pattern, top_level_dir=folder)
    for note in notes:
        print(note, flush=True)
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=0, resultclass=Result)
    started = time.monotonic()
    result = runner.run(suite)
    passed, failed, skipped = result.counts()
    print(f"{name} took {time.monotonic() - started:.0f} s")
    for note in notes:
        print(note)
    if skips_pass:
        print(f"{passed} passed, {failed} failed, {skipped} skipped")
        return 1 if failed or not (passed or skipped) else 0
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


def main():
    """Runs the tests of the calling module (for running one test file on its own)."""
    unittest.main(module="__main__", verbosity=2)

"""The processes of a test run: waiting for a condition, running a command, ending a process group,
and the one session of the run that ends everything it started."""

import atexit
import os
import signal
import subprocess
import sys
import tempfile
import time


def wait_for(predicate, timeout=5.0, interval=0.05, message="condition"):
    """Polls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {message}")
        time.sleep(interval)


def run(args, env=None, timeout=60):
    """Runs a command and returns (exit code, stdout bytes, stderr bytes). Output goes through
    files, not pipes: Wine's helper processes inherit the handles and would keep a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def output(args, env=None, timeout=30):
    """Runs a command and returns (exit code, its standard output as text)."""
    code, out, _ = run(args, env=env, timeout=timeout)
    return code, out.decode("utf-8", "replace")


def end_group(process, sig=signal.SIGKILL):
    """Ends a process started in its own process group, with everything it started."""
    if process.poll() is None:
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            pass
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


_sessions = {}


def shared_session(make):
    """The one session that `make` gives in this test run, made on first use and closed when Python
    exits."""
    if make not in _sessions:
        _sessions[make] = made = make()
        atexit.register(made.close)
        # An interrupted run still ends its own processes.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    return _sessions[make]

"""What the end-to-end tests of both editions share: the Windows suite (tests/e2e, Ambrisk2.exe under
Wine) and the Linux suite (tests/e2e_linux, ambrisk2 under Openbox). Each suite's harness.py keeps
what is its platform's own and puts the pieces below in front of its tests.

  program      what both editions show from outside: REPO, TITLE, CONTROL_NAMES (the table in
               ui/layout.h), SETTING_NAMES
  processes    wait_for (polling), run (a command's output through files), end_group (a process
               group), shared_session (the run's one session, closed with what it started at exit)
  screens      virtual X screens: Display (Xvfb), TwoMonitorDisplay (Xephyr with Xinerama),
               randr_two_monitors (one Xvfb split into two RandR monitors), display_numbers;
               Pixels (an image file's pixels)
  app_input    AppInput: the main window driven by real clicks and key presses
  runner       Result (one line per test, counts()), run_folder (what each run.py does), main
"""

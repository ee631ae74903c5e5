#!/usr/bin/python3
"""A fatal run-time error shows the run time's own message box and ends the
program with exit code -1."""
import os

import harness


def scenario(s):
    probe = os.path.join(s.args.build, "fatal_probe.exe")
    program = s.launch(probe)
    box = s.wait_window(name="运行时错误")
    s.screenshot("fatal-error")
    assert program.running, "the program waits for the report to be read"
    s.click(10, 10, window=box)
    s.key("Return")
    assert s.wait_exit(program) == 255, "exit code -1 arrives as 255"


harness.run(scenario)

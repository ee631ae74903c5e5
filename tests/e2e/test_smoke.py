#!/usr/bin/python3
"""The harness itself, on tests/win/smoke_window.cpp: a borderless popup at
100,80 (400 x 300, background 32,128,192) with an edit box and the buttons
OK (exit 7 when the box holds "你好 abc", else 9), Notice (message box,
then exit 5) and Quit (exit -1)."""
import harness

TITLE = "冒烟测试"
LEFT, TOP = 100, 80
OK, NOTICE, QUIT = (70, 75), (190, 75), (310, 75)  # button centres, window-relative


def open_window(s):
    program = s.launch(s.args.smoke_window)
    window = s.wait_window_at(LEFT, TOP, 400, 300, name=TITLE)
    assert window in s.find_windows(pid=program), "the window's _NET_WM_PID is the wine process"
    return program, window


def scenario(s):
    # Chinese text pasted through the clipboard plus typed ASCII reach the
    # edit box as code page 936.
    program, window = open_window(s)
    s.wait_pixel(LEFT + 50, TOP + 220, (32, 128, 192), tolerance=2)
    s.screenshot("window")
    s.click(140, 32, window=window)
    s.paste("你好")
    s.type_text(" abc")
    s.screenshot("typed")
    s.click(*OK, window=window)
    code = s.wait_exit(program)
    assert code == 7, "OK gave exit code %d (9: the edit box held other text)" % code

    # A message box: found by the title on its X window, closed with Return.
    program, window = open_window(s)
    s.click(*NOTICE, window=window)
    box = s.wait_window(name="冒烟提示")
    s.screenshot("message-box")
    s.click(10, 10, window=box)
    s.key("Return")
    assert s.wait_exit(program) == 5

    program, window = open_window(s)
    s.click(*QUIT, window=window)
    assert s.wait_exit(program) == 255, "exit code -1 arrives as 255"


harness.run(scenario)

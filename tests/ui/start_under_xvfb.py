#!/usr/bin/env python3
"""Starts the real editor on a virtual X display, lets it save its first painted window and
checks the picture's size: the client area is 946 x 510 pixels below the menu bar.

Usage: start_under_xvfb.py PROGRAM [SCREENSHOT.png]
Prints the time from launch to the first painted window and the memory in use."""

import os
import re
import struct
import subprocess
import sys
import tempfile
import time


def png_size(path):
    with open(path, "rb") as picture:
        header = picture.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise SystemExit(f"{path} is not a PNG file")
    return struct.unpack(">II", header[16:24])


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as scratch:
        shot = sys.argv[2] if len(sys.argv) > 2 else os.path.join(scratch, "window.png")
        env = dict(os.environ, KESTROVA_SCREENSHOT=shot, QT_QPA_PLATFORM="xcb", TZ="UTC")
        started = time.monotonic_ns()
        run = subprocess.run(
            ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", program],
            cwd=scratch, env=env, capture_output=True, text=True, timeout=120)
        report = re.search(r"first-paint-monotonic-ns=(\d+) since-start-ms=(-?\d+) rss-kb=(-?\d+) window",
                           run.stderr)
        if run.returncode != 0 or not report:
            raise SystemExit(f"the editor did not report its first paint:\n{run.stderr}")
        width, height = png_size(shot)
        print(f"first paint {report[2]} ms after the process started "
              f"({(int(report[1]) - started) / 1e6:.0f} ms with Xvfb's own start-up), "
              f"{int(report[3]) / 1024:.1f} MB resident, window {width} x {height}")
        menu_bar = height - 510
        if width != 946 or not 0 < menu_bar <= 40:
            raise SystemExit(f"window is {width} x {height}, expected 946 x (510 + menu bar)")


if __name__ == "__main__":
    main()

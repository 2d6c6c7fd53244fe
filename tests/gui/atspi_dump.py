#!/usr/bin/python3
"""Prints the accessibility tree of one running program, as a screen reader sees it over AT-SPI.

Usage: atspi_dump.py PID [SECONDS]
One line per object, depth-first: depth, role, showing (1/0), name, focused (1/0), description,
tab-separated. Waits up to
SECONDS (default 20) for the program to appear on the accessibility bus; exits 1 if it never does.
"""
import sys
import time

import pyatspi


def find_app(pid, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def walk(acc, depth, out):
    try:
        role = acc.getRoleName()
        name = acc.name or ""
        state = acc.getState()
        showing = state.contains(pyatspi.STATE_SHOWING)
        focused = state.contains(pyatspi.STATE_FOCUSED)
        description = acc.description or ""
    except Exception:
        return
    out.append("%d\t%s\t%d\t%s\t%d\t%s" % (depth, role, 1 if showing else 0,
                                          name.replace("\n", " "), 1 if focused else 0,
                                          description.replace("\n", " ")))
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            walk(child, depth + 1, out)


def main():
    pid = int(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20
    app = find_app(pid, seconds)
    if app is None:
        print("no program with process id %d on the accessibility bus" % pid, file=sys.stderr)
        return 1
    lines = []
    walk(app, 0, lines)
    sys.stdout.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

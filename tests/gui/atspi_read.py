#!/usr/bin/python3
"""Reads one running program over AT-SPI the way a screen reader does, for the GUI tests.

Usage:
  atspi_read.py lines PID [NAME] the focused text box (or the one named NAME), one line per line of it as the line
                                 command reads it: start, end, the screen top and height of its
                                 first character, its text (tab-separated); first the caret
                                 offset and the character count
  atspi_read.py keys PID         each showing menu item: its name and its key binding
  atspi_read.py notices PID SEC  prints "ready", then for SEC seconds each notice that appears
                                 (a notification or an alert that starts showing): its role and
                                 name
Exits 1 when the program never shows up on the accessibility bus.
"""
import sys
import time

import pyatspi


def find_app(pid, seconds=20):
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


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child)


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def focused_text(app, name=None):
    for acc in walk(app):
        try:
            state = acc.getState()
            if not state.contains(pyatspi.STATE_SHOWING) or acc.getRole() != pyatspi.ROLE_TEXT:
                continue
            if (name is None and state.contains(pyatspi.STATE_FOCUSED)) or acc.name == name:
                return acc.queryText()
        except Exception:
            continue
    return None


def lines(app, name):
    text = focused_text(app, name)
    if text is None:
        print("no focused text", file=sys.stderr)
        return 1
    count = text.characterCount
    print("%d\t%d" % (text.caretOffset, count))
    offset = 0
    while offset < count:
        line, start, end = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)
        x, y, w, h = text.getCharacterExtents(start, pyatspi.DESKTOP_COORDS)
        print("%d\t%d\t%d\t%d\t%s" % (start, end, y, h, line.rstrip("\n")))
        if end <= offset:
            break
        offset = end
    return 0


def keys(app):
    for acc in walk(app):
        try:
            if acc.getRole() != pyatspi.ROLE_MENU_ITEM or not showing(acc):
                continue
            binding = acc.queryAction().getKeyBinding(0)
        except Exception:
            continue
        print("%s\t%s" % (acc.name, binding))
    return 0


def notices(app, seconds):
    pid = app.get_process_id()

    def heard(event):
        try:
            source = event.source
            if source.get_process_id() != pid or not event.detail1:
                return
            role = source.getRole()
            if role in (pyatspi.ROLE_NOTIFICATION, pyatspi.ROLE_ALERT):
                print("%s\t%s" % (source.getRoleName(), source.name), flush=True)
        except Exception:
            pass

    pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
    print("ready", flush=True)

    def stop():
        pyatspi.Registry.stop()
        return False

    from gi.repository import GLib
    GLib.timeout_add(int(seconds * 1000), stop)
    pyatspi.Registry.start()
    return 0


def main():
    what, pid = sys.argv[1], int(sys.argv[2])
    app = find_app(pid)
    if app is None:
        print("no program with process id %d on the accessibility bus" % pid, file=sys.stderr)
        return 1
    if what == "lines":
        return lines(app, sys.argv[3] if len(sys.argv) > 3 else None)
    if what == "keys":
        return keys(app)
    if what == "notices":
        return notices(app, float(sys.argv[3]))
    print("unknown request " + what, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())

#!/bin/sh
# Runs a test program the way a screen reader user's desktop runs it: on a virtual X display,
# in its own D-Bus session with the accessibility bus, with Qt's AT-SPI bridge on.
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
  env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 "$@"

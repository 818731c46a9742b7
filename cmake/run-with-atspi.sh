#!/usr/bin/env bash
# Runs a command with the accessibility bus up on the current (private) session bus, the way a
# desktop with a screen reader has it. Start it under dbus-run-session.
set -uo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill "$launcher" 2>/dev/null; wait "$launcher" 2>/dev/null' EXIT
for _ in $(seq 300); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true; then
        break
    fi
    sleep 0.1
done
"$@"

#!/usr/bin/env bash
# Runs a command inside its own Xvfb and stops the server afterwards. The server picks a free
# display number itself (-displayfd), so tests started together never race for one the way
# xvfb-run -a's guess from lock files can (two servers on one number: "Authorization required").
set -uo pipefail
dir=$(mktemp -d -t corvane-xvfb.XXXXXX)
xvfb=
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

mkfifo "$dir/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 "${CORVANE_XVFB_SCREEN:-1600x1000x24}" \
    3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
# The number arrives once the server accepts connections; end of file means it died.
if ! read -r -t 60 number <"$dir/display" || [ -z "$number" ]; then
    echo "run-in-xvfb: Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
fi
# No cookie of another server with the same number may be sent.
: >"$dir/Xauthority"
DISPLAY=":$number" XAUTHORITY="$dir/Xauthority" "$@"

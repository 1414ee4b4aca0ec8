#!/usr/bin/env bash
# Runs one acceptance script against the program under a virtual display and a
# private session bus (the accessibility bus starts on it).
set -euo pipefail
script="$1"; binary="$2"
here=$(cd "$(dirname "$0")" && pwd)
export PYTHONPATH="$here${PYTHONPATH:+:$PYTHONPATH}"
# Where the page engine's sandbox cannot start (a chroot, a system without user
# namespaces) the program shows no page at all: nothing here can be checked.
if ! bwrap --unshare-user-try --unshare-pid --unshare-net --ro-bind / / true 2>/dev/null; then
    echo "skipped: the page engine's sandbox cannot start here"
    exit 77
fi
# The accessibility bridge must load: the test environment turns it off for unit tests.
unset NO_AT_BRIDGE
# A script may ask for another screen with a line "# screen: 800x600x24".
screen=$(sed -n 's/^# screen: \([0-9x]*\)$/\1/p' "$script" | head -n 1)
exec xvfb-run -a -s "-screen 0 ${screen:-1280x800x24}" dbus-run-session -- /usr/bin/python3 "$script" "$binary"

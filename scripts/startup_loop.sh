#!/usr/bin/env bash
# Starts the desktop program COUNT times (default 200) with a painting, each time on a private
# Xvfb display with an accessibility bus running, waits for its main window, closes it with
# "E&xit" (Ctrl+X) and records how it ended. A start that is still running after that is ended
# with SIGTERM. A failure is any exit by another signal, or a non-zero status.
#
#   scripts/startup_loop.sh [COUNT] [PAINTING]
#
# PIGMENTARIA names the program (default build/bin/pigmentaria); without PAINTING one is made
# from samples/coffee.png with PIGMENTARIA_CLI (default build/src/pigmentaria-cli). Each failed
# start's output is kept in the work folder the script names. Needs: xvfb xdotool dbus
# at-spi2-core. Too slow for the test suite: run it by hand after changing start-up or exit code.
set -u
cd "$(dirname "$0")/.."
count=${1:-200}
painting=${2:-}
program=$(realpath "${PIGMENTARIA:-build/bin/pigmentaria}")
cli=${PIGMENTARIA_CLI:-build/src/pigmentaria-cli}
work=$(mktemp -d /tmp/startup_loop.XXXXXX)
if [ -z "$painting" ]; then
    painting=$work/coffee.kvp
    "$cli" convert samples/coffee.png -o "$painting" >/dev/null || exit 2
fi
painting=$(realpath "$painting")
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

display=:$((500 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((500 + RANDOM % 400)); done
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display XDG_RUNTIME_DIR=$work
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb

dbus-run-session -- bash -s "$count" "$program" "$painting" "$work" <<'LOOP'
count=$1; program=$2; painting=$3; work=$4
# A crash leaves its core dump in the work folder.
cd "$work" && ulimit -c unlimited 2>/dev/null
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 0.5
failures=0
terminated=0
for i in $(seq "$count"); do
    log=$work/start-$i.log
    "$program" "$painting" >"$log" 2>&1 &
    app=$!
    # The main window is up once it shows the painting's name (the splash comes first).
    window=""
    for _ in $(seq 300); do
        kill -0 "$app" 2>/dev/null || break
        window=$(xdotool search --all --onlyvisible --pid "$app" --name '^Pigmentaria - ' 2>/dev/null |
            head -n1)
        [ -n "$window" ] && break
        sleep 0.05
    done
    # Closing takes a moment; a window that has not taken the keys yet is asked again, and one
    # that does not close is ended here.
    sent=""
    for try in $(seq 40); do
        kill -0 "$app" 2>/dev/null || break
        if [ -n "$window" ] && [ $((try % 10)) -eq 1 ]; then
            xdotool windowfocus --sync "$window" 2>/dev/null
            xdotool key ctrl+x 2>/dev/null
        fi
        sleep 0.1
    done
    if kill -0 "$app" 2>/dev/null; then
        kill -TERM "$app" 2>/dev/null
        sent=TERM
        terminated=$((terminated + 1))
    fi
    wait "$app"
    status=$?
    how="status $status"
    [ "$status" -gt 128 ] && how="signal $(kill -l $((status - 128)))"
    if [ "$status" -eq 0 ] || { [ "$sent" = TERM ] && [ "$status" -eq 143 ]; }; then
        rm -f "$log"
    else
        failures=$((failures + 1))
        echo "start $i: $how${window:+ (main window was up)} - output in $log"
    fi
done
kill "$bus" 2>/dev/null
[ "$terminated" -gt 0 ] && echo "$terminated starts did not close from the menu and were ended with SIGTERM"
echo "$count starts, $failures failures"
[ "$failures" -eq 0 ]
LOOP

#!/usr/bin/env bash
# The disk space analyzer as a new user meets it: the analyzer launcher opens it at
# "My Computer"; a double-click opens drive C:, Down and Enter open its second folder; Back
# and Enter open the first. The scan button hands the folder shown to the cleaner, whose
# caption names it, so each step can be seen. The chart switch is ticked, F10 ends the whole
# program, and the settings file beside it holds the switch.
source "$(dirname "$0")/e2e_lib.bash"
with_data

C="$WORK/machine/drives/c"
mkdir -p "$C/alpha" "$C/beta"
: >"$C/alpha/a.txt"
: >"$C/beta/b.txt"

ANALYZER_TITLES=("WindowsKestrane --- 磁盘目录空间分析" "Tessaly --- 2008Brisa  ")
BOX_TITLE="WindowsKestrane 2008"

analyzer_window() {
    wait_for_window "${ANALYZER_TITLES[0]}" "${1:-15}" || wait_for_window "${ANALYZER_TITLES[1]}" 5
}

# Presses the scan button of the chart bar; the cleaning window must name `folder` in its
# caption once its scan is over. Then the summary box and the cleaning window are closed.
scan_shows() {
    local win="$1" folder="$2" title clean
    xdotool mousemove --window "$win" 44 454 click 1
    title="Varnholt  ---  Is Scanning Direcotry [$folder]  "
    clean="$(wait_for_window "$title" 20)" || {
        xdotool search --onlyvisible --name '.' getwindowname %@ >&2 || true
        fail "the cleaner does not scan $folder"
    }
    wait_for_window "$BOX_TITLE" 30 >/dev/null || fail "no summary box after the scan of $folder"
    for _ in $(seq 1 50); do
        box="$(xdotool search --onlyvisible --name "^$BOX_TITLE\$" 2>/dev/null | head -n1 || true)"
        [ -n "$box" ] || break
        # Closed as a window manager closes it: keys sent now could reach the list behind.
        close_window "$box" || true
        sleep 0.3
    done
    close_window "$clean"
    local deadline=$((SECONDS + 10))
    while [ -n "$(xdotool search --onlyvisible --name "Varnholt  ---|磁盘垃圾文件清理" 2>/dev/null || true)" ]; do
        [ $SECONDS -lt "$deadline" ] || fail "the cleaning window does not close"
        sleep 0.2
    done
    sleep 0.3
}

start_program
pid=$STARTED_PID
start="$(wait_for_window "$START_TITLE")" || fail "no start window"
xdotool mousemove --window "$start" 280 146 click 1 # the analyzer launcher
win="$(analyzer_window)" || fail "the analyzer launcher opened no analyzer window"
# The window fills the screen once it is up: the clicks below wait for it to settle there.
deadline=$((SECONDS + 10))
until [ "$(xdotool getwindowgeometry "$win" 2>/dev/null | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p')" = "0,0" ]; do
    [ $SECONDS -lt "$deadline" ] || fail "the analyzer window does not fill the screen"
    sleep 0.2
done
sleep 1

# The first row of the list is drive C:.
xdotool mousemove --window "$win" 60 142 click --repeat 2 --delay 80 1
sleep 0.8
xdotool key --window "$win" Down Return
sleep 0.8
scan_shows "$win" 'C:\beta\'

# Back to C:\ with Backspace in the list, then Enter on its first row.
xdotool mousemove --window "$win" 500 400 click 1
sleep 0.3
xdotool key --window "$win" BackSpace
sleep 0.8
xdotool key --window "$win" Return
sleep 0.8
scan_shows "$win" 'C:\alpha\'

# The chart switch, then F10: the whole program ends.
xdotool mousemove --window "$win" 806 92 click 1
sleep 0.3
xdotool key --window "$win" F10
wait_for_exit "$pid" 20 || fail "F10 did not end the program"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
python3 - "$PROGRAM_FOLDER/quorCleaner.cfg" <<'PY' || fail "the settings were not saved with the chart switch"
import sys
data = open(sys.argv[1], "rb").read()
name = b"IfShowChart"
at = data.find(bytes([len(name)]) + name)
assert at >= 0
assert data[at + 1 + len(name)] == 9, "IfShowChart is not true"  # 9: true
PY
echo "ok"

#!/usr/bin/env bash
# The junk cleaner as a user meets it: the cleaning launcher opens the cleaning window, the
# scan of the machine fills the list by itself, the user unticks a row and deletes; what
# stayed unticked or lies in the Windows folder is still there, the rest is gone.
source "$(dirname "$0")/e2e_lib.bash"
with_data

C="$WORK/machine/drives/c"
mkdir -p "$C/WINDOWS/TEMP" "$C/data" "$C/old/a"
printf '0123456789' >"$C/WINDOWS/TEMP/junk.tmp"
: >"$C/data/e1.log"
: >"$C/data/e2.log"

# A first run writes the settings file; zero-byte files and empty folders are then asked for.
start_program
win="$(wait_for_window "$START_TITLE")" || fail "no start window"
close_window "$win"
wait_for_exit "$STARTED_PID" 20 || fail "the first run did not end"
python3 - "$PROGRAM_FOLDER/quorCleaner.cfg" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
for name in (b"IfCleanZeroDir", b"IfCleanZeroFile"):
    at = data.find(bytes([len(name)]) + name)
    assert at >= 0, name
    tag = at + 1 + len(name)
    assert data[tag] == 8, (name, data[tag])  # false
    data[tag] = 9                             # true
open(path, "wb").write(data)
PY

start_program
pid=$STARTED_PID
win="$(wait_for_window "$START_TITLE")" || fail "no start window"
xdotool mousemove --window "$win" 105 146 click 1   # the cleaning launcher
clean="$(wait_for_window "磁盘垃圾文件清理" 10 || wait_for_window "Varnholt  ---  Is Scanning Direcotry [C:\\]  " 10)" ||
    fail "no cleaning window"

# The scan starts by itself a second later and ends with its summary box, answered with
# Return once it is on the screen.
BOX_TITLE="WindowsKestrane 2008"
wait_for_window "$BOX_TITLE" 30 >/dev/null || fail "no summary box after the scan"
for _ in $(seq 1 50); do
    box="$(xdotool search --onlyvisible --name "^$BOX_TITLE\$" 2>/dev/null | head -n1 || true)"
    [ -n "$box" ] || break
    xdotool key --window "$box" Return 2>/dev/null || true
    sleep 0.3
done
[ -z "$(xdotool search --onlyvisible --name "^$BOX_TITLE\$" 2>/dev/null || true)" ] || fail "the summary box stayed"

# Rows: C:\data\e1.log, C:\data\e2.log, C:\old<Dir>, C:\old\a<Dir>, C:\WINDOWS\TEMP\junk.tmp.
# Untick the second: focus the list below its rows, go to the top, one down, space.
xdotool mousemove --window "$clean" 320 340 click 1
xdotool key --window "$clean" Home Down space
sleep 0.3
xdotool mousemove --window "$clean" 211 423 click 1  # 删除垃圾文件 (&C)
sleep 1

[ ! -e "$C/data/e1.log" ] || fail "a ticked zero-byte file was not deleted"
[ -e "$C/data/e2.log" ] || fail "the unticked file was deleted"
[ ! -e "$C/old" ] || fail "the empty folder tree was not deleted"
[ -e "$C/WINDOWS/TEMP/junk.tmp" ] || fail "a file in the Windows folder was deleted"

xdotool mousemove --window "$clean" 567 423 click 1  # 完  成 (&E)
sleep 0.5
close_window "$win"
wait_for_exit "$pid" 20 || fail "the program did not end"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
echo "ok"

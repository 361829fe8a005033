#!/usr/bin/env bash
# The program shows its splash, then its start window, and closing that writes the settings files: the
# 443-byte default settings file and an empty pattern file when there were none before.
source "$(dirname "$0")/e2e_lib.bash"

start_program
pid=$STARTED_PID
# The splash (420 x 260) is up before the start window.
splash_seen=""
deadline=$((SECONDS + 30))
while [ -z "$(windows_titled "$START_TITLE")" ]; do
    [ $SECONDS -lt "$deadline" ] || fail "no window titled \"$START_TITLE\""
    if xwininfo -root -children 2>/dev/null | grep -q " 420x260+"; then
        splash_seen=1
    fi
    sleep 0.05
done
[ -n "$splash_seen" ] || fail "no splash before the start window"
win="$(wait_for_window "$START_TITLE")"
[ -z "$(windows_titled "$START_TITLE - quorcleaner")" ] || fail "the title carries the program name"
[ ! -e "$PROGRAM_FOLDER/quorCleaner.cfg" ] || fail "the settings were written before the end"

close_window "$win"
wait_for_exit "$pid" 20 || fail "the program did not end when its start window closed"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"

cfg="$PROGRAM_FOLDER/quorCleaner.cfg"
[ -f "$cfg" ] || fail "no quorCleaner.cfg"
size=$(stat -c %s "$cfg")
[ "$size" -eq 443 ] || fail "quorCleaner.cfg has $size bytes, not 443"
[ -f "$cfg.Garbage" ] || fail "no quorCleaner.cfg.Garbage"
[ "$(stat -c %s "$cfg.Garbage")" -eq 0 ] || fail "the pattern file is not empty"
echo "ok"

#!/usr/bin/env bash
# One copy at a time: a second copy ends at once and shows nothing; a copy killed while
# it holds the mutex does not stop the next one.
source "$(dirname "$0")/e2e_lib.bash"

start_program
first=$STARTED_PID
wait_for_window "$START_TITLE" >/dev/null || fail "the first copy shows no start window"

start_program
second=$STARTED_PID
wait_for_exit "$second" 10 || fail "the second copy did not end at once"
[ "$EXIT_STATUS" -eq 0 ] || fail "the second copy ended with status $EXIT_STATUS"
[ "$(windows_titled "$START_TITLE" | wc -l)" -eq 1 ] || fail "the second copy showed a window"

# Killed while holding the mutex: the kernel lets the lock go with the process.
kill -KILL "$first"
wait_for_exit "$first" 10 || fail "the first copy did not die"
start_program
third=$STARTED_PID
win="$(wait_for_window "$START_TITLE")" || fail "the copy after a killed one shows no start window"
close_window "$win"
wait_for_exit "$third" 20 || fail "the third copy did not end"
echo "ok"

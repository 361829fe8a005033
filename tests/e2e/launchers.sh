#!/usr/bin/env bash
# Every launcher of the start window opens a window of its own, and the start window is
# usable again once that window (and whatever it showed) is closed.
source "$(dirname "$0")/e2e_lib.bash"

visible_windows() {
    xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true
}

start_program
pid=$STARTED_PID
win="$(wait_for_window "$START_TITLE")" || fail "no start window"
sleep 0.5
baseline="$(visible_windows)"
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y of the client area

# Launcher centres in the start window's client area, in the order of their tags.
launchers=("105 146" "280 146" "455 146" "105 262" "280 262" "455 262")
for i in "${!launchers[@]}"; do
    read -r cx cy <<<"${launchers[$i]}"
    xdotool mousemove $((X + cx)) $((Y + cy)) click 1
    opened=""
    deadline=$((SECONDS + 15))
    while [ -z "$opened" ] && [ $SECONDS -lt "$deadline" ]; do
        opened="$(comm -13 <(echo "$baseline") <(visible_windows))"
        [ -n "$opened" ] || sleep 0.2
    done
    [ -n "$opened" ] || fail "launcher $((i + 1)) opened no window"
    for w in $opened; do echo "launcher $((i + 1)): $(xdotool getwindowname "$w")"; done
    # Close the newest window until only the start window is left (a tool may show a box).
    deadline=$((SECONDS + 20))
    while [ -n "$(comm -13 <(echo "$baseline") <(visible_windows))" ]; do
        [ $SECONDS -lt "$deadline" ] || fail "the windows of launcher $((i + 1)) do not close"
        for w in $(comm -13 <(echo "$baseline") <(visible_windows)); do
            close_window "$w" || true
        done
        sleep 0.5
    done
    kill -0 "$pid" 2>/dev/null || fail "the program ended after launcher $((i + 1))"
done

close_window "$win"
wait_for_exit "$pid" 20 || fail "the program did not end"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
echo "ok"

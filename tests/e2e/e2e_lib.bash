# Shared by the end-to-end checks (sourced; each check gets the program's path as $1).
# Every check runs on a virtual display of its own, against a temporary machine root, with
# a copy of the program in a temporary folder so its settings files are written there.
set -euo pipefail

# A free display from a random start: checks of other builds may be starting displays at
# the same moment, and a virtual display that lost that race is not there. Then the check
# runs again on another one (status 75), a few times at most. The display must not reset
# when its last client goes (xdotool's calls come and go): the program could not connect
# while it does.
if [ -z "${QUOR_E2E_ON_DISPLAY:-}" ]; then
    for attempt in 1 2 3 4 5; do
        status=0
        env QUOR_E2E_ON_DISPLAY=1 xvfb-run -a -n $((100 + RANDOM % 5000)) -s "-screen 0 1024x768x24 -noreset" "$0" "$@" ||
            status=$?
        [ "$status" -eq 75 ] || exit "$status"
    done
    echo "FAIL: no virtual display could be started" >&2
    exit 1
fi
xdpyinfo >/dev/null 2>&1 || exit 75

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
PROGRAM="$(readlink -f "$1")"
WORK="$(mktemp -d /tmp/quor-e2e-XXXXXX)"
STARTED=()
# The program is built with the sanitizers in the debug build; leaks inside the system's
# font libraries are theirs, not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
export QT_QPA_PLATFORM=xcb

cleanup() {
    for pid in "${STARTED[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for out in "$WORK"/out.*; do
        [ -s "$out" ] && { echo "--- $out" >&2; tail -n 40 "$out" >&2; }
    done
    exit 1
}

# A machine root with drive C: only.
mkdir -p "$WORK/machine/dosdevices" "$WORK/machine/drives/c"
ln -s ../drives/c "$WORK/machine/dosdevices/c:"
export QUORCLEANER_MACHINE_ROOT="$WORK/machine"

# A program folder holding a copy of the program and nothing else; `with_data` adds the
# files shipped beside it.
PROGRAM_FOLDER="$WORK/program"
mkdir -p "$PROGRAM_FOLDER"
cp "$PROGRAM" "$PROGRAM_FOLDER/quorcleaner"
with_data() {
    cp "$E2E_DIR/../../data/"* "$PROGRAM_FOLDER/"
}

# Starts a copy in the background; its pid is in STARTED_PID.
start_program() {
    "$PROGRAM_FOLDER/quorcleaner" >"$WORK/out.$#.${#STARTED[@]}" 2>&1 &
    STARTED_PID=$!
    STARTED+=("$STARTED_PID")
}

START_TITLE="WindowsKestrane --- 2008Brisa "

# The windows titled exactly $1, one id per line (none: empty).
windows_titled() {
    local id
    for id in $(xdotool search --name "$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
            echo "$id"
        fi
    done
}

# Waits up to $2 seconds (default 20) for a window titled exactly $1; prints its id.
wait_for_window() {
    local deadline=$((SECONDS + ${2:-20})) ids
    while [ $SECONDS -lt "$deadline" ]; do
        ids="$(windows_titled "$1")"
        if [ -n "$ids" ]; then
            echo "$ids" | head -n1
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits up to $2 seconds for process $1 to end; its exit status is in EXIT_STATUS.
wait_for_exit() {
    local deadline=$((SECONDS + ${2:-20}))
    while kill -0 "$1" 2>/dev/null; do
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.1
    done
    EXIT_STATUS=0
    { wait "$1"; } 2>/dev/null || EXIT_STATUS=$?
    return 0
}

close_window() {
    python3 "$E2E_DIR/x11_close.py" "$1"
}

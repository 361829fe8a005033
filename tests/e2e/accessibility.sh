#!/usr/bin/env bash
# What a screen reader meets: on an accessibility bus of the check's own, the start window's
# launchers are push buttons named by their hints, and pressing the cleaning launcher through
# the bus opens the cleaning window.
source "$(dirname "$0")/e2e_lib.bash"

# Nothing of the user's: a home, a runtime folder and a session bus of the check's own, and
# the accessibility bus started by its launcher on that session bus.
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/home/.config"
export XDG_CACHE_HOME="$WORK/home/.cache" XDG_DATA_HOME="$WORK/home/.local/share" GSETTINGS_BACKEND=memory
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
# The Debian packages' Python, which has the GObject bindings: not another one first on PATH.
SYSTEM_PYTHON=/usr/bin/python3
"$SYSTEM_PYTHON" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    fail "$SYSTEM_PYTHON has no AT-SPI bindings (packages python3-pyatspi, gir1.2-atspi-2.0)"

BUS_GROUPS=()
stop_buses() {
    # Each bus runs in a process group of its own: the daemons it started go with it.
    for group in "${BUS_GROUPS[@]}"; do
        kill -TERM -- "-$group" 2>/dev/null || true
    done
    sleep 0.2
    for group in "${BUS_GROUPS[@]}"; do
        kill -KILL -- "-$group" 2>/dev/null || true
    done
    cleanup
}
trap stop_buses EXIT

# Starts "$@" as the leader of a new process group; its pid is in GROUP_PID.
start_group() {
    setsid "$@" >>"$WORK/out.bus" 2>&1 &
    GROUP_PID=$!
    BUS_GROUPS+=("$GROUP_PID")
}

start_group dbus-daemon --session --nofork --nopidfile --address="unix:path=$XDG_RUNTIME_DIR/bus"
deadline=$((SECONDS + 10))
until [ -S "$XDG_RUNTIME_DIR/bus" ]; do
    kill -0 "$GROUP_PID" 2>/dev/null || fail "the session bus did not start"
    [ $SECONDS -lt "$deadline" ] || fail "the session bus did not start within 10 s"
    sleep 0.1
done
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"

LAUNCHER=/usr/libexec/at-spi-bus-launcher
[ -x "$LAUNCHER" ] || LAUNCHER=/usr/lib/at-spi2-core/at-spi-bus-launcher
[ -x "$LAUNCHER" ] || fail "at-spi-bus-launcher is not installed (package at-spi2-core)"
start_group "$LAUNCHER" --launch-immediately
"$SYSTEM_PYTHON" - <<'PY' || fail "the accessibility bus did not start within 15 s"
import time
from gi.repository import Gio, GLib
session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
deadline = time.monotonic() + 15
while True:
    try:
        reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                  GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
        if reply.unpack()[0]:
            break
    except GLib.Error:
        pass
    if time.monotonic() > deadline:
        raise SystemExit(1)
    time.sleep(0.2)
PY

# Qt speaks on the bus only when asked to.
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
pid=$STARTED_PID
wait_for_window "$START_TITLE" >/dev/null || fail "no start window"
kill -0 "$pid" 2>/dev/null || fail "the program ended at start"

# The six launchers, named by their hints; the cleaning launcher is pressed.
"$SYSTEM_PYTHON" "$E2E_DIR/atspi_press.py" --window "$START_TITLE" --timeout 30 \
    --press "智能引擎支持下的快速垃圾文件清理..." \
    --expect "磁盘空间目录级分析，通过图表让你直观地找出磁盘占用的原因..." \
    --expect "高级配置，定制你的参数 ..." \
    --expect "保护上网安全和隐私功能，擦除你上网留下的纪录..." \
    --expect "每日技巧,有技术问题联系Msn: support@quorcleaner.example" \
    --expect "计算机上应用程序管理，清理长期不用的应用程序可以大幅提升效率..." ||
    fail "the launchers are not push buttons with their names, or the cleaning launcher could not be pressed"
clean="$(wait_for_window "磁盘垃圾文件清理" 15 || wait_for_window "Varnholt  ---  Is Scanning Direcotry [C:\\]  " 5)" ||
    fail "pressing the cleaning launcher opened no cleaning window"

# The scan of the empty machine ends with its summary box; then the windows close as a
# user closes them and the program ends well, the accessibility bridge with it.
BOX_TITLE="WindowsKestrane 2008"
wait_for_window "$BOX_TITLE" 30 >/dev/null || fail "no summary box after the scan"
for _ in $(seq 1 50); do
    box="$(xdotool search --onlyvisible --name "^$BOX_TITLE\$" 2>/dev/null | head -n1 || true)"
    [ -n "$box" ] || break
    xdotool key --window "$box" Return 2>/dev/null || true
    sleep 0.3
done
[ -z "$(xdotool search --onlyvisible --name "^$BOX_TITLE\$" 2>/dev/null || true)" ] || fail "the summary box stayed"
close_window "$clean"
deadline=$((SECONDS + 10))
while [ -n "$(xdotool search --onlyvisible --name "磁盘垃圾文件清理|Varnholt" 2>/dev/null || true)" ]; do
    [ $SECONDS -lt "$deadline" ] || fail "the cleaning window does not close"
    sleep 0.2
done
close_window "$(wait_for_window "$START_TITLE" 5)"
wait_for_exit "$pid" 20 || fail "the program did not end"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
echo "ok"

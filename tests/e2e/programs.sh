#!/usr/bin/env bash
# The program manager as a user meets it: the launcher opens it over a machine whose hive
# lists a dozen programs; the user ticks the first two rows and presses the uninstall
# button. The first uninstaller is a program of this machine and runs with its argument;
# the second is a Windows image, which is not started, and the program goes on.
source "$(dirname "$0")/e2e_lib.bash"
with_data

C="$WORK/machine/drives/c"
mkdir -p "$C/WINDOWS/system32" "$C/Program Files/Alpha" "$C/Program Files/Adobe/Reader" "$C/Program Files/WinRAR" \
    "$C/Program Files/Storm"
cat >"$C/Program Files/Alpha/uninst.sh" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >"$(dirname "$0")/ran"
SH
chmod +x "$C/Program Files/Alpha/uninst.sh"
printf 'MZ\220\0' >"$C/Program Files/Adobe/Reader/uninst.exe"
head -c 300000 /dev/zero >"$C/Program Files/WinRAR/WinRAR.exe"
head -c 2048 /dev/zero >"$C/Program Files/Storm/Storm.exe"

entry() { # key, display name, uninstall command (as the export writes it)
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s]\r\n' "$1"
    [ -z "$2" ] || printf '"DisplayName"="%s"\r\n' "$2"
    printf '"UninstallString"="%s"\r\n\r\n' "$3"
}
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    entry "AAA" 'Alpha 卸载测试' '\"C:\\Program Files\\Alpha\\uninst.sh\" --quiet'
    entry "Adobe Reader 8" 'Adobe Reader 8.1.2 - Chinese Simplified' 'C:\\Program Files\\Adobe\\Reader\\uninst.exe /S'
    entry "FileZilla Client" 'FileZilla Client 3.1.5' 'C:\\Program Files\\FileZilla\\uninstall.exe'
    entry "Foxmail" '' 'C:\\Program Files\\Foxmail\\uninst.exe'
    entry "Mozilla Firefox (3.0.5)" 'Mozilla Firefox (3.0.5)' 'C:\\Program Files\\Mozilla Firefox\\uninstall\\helper.exe'
    entry "WinRAR archiver" 'WinRAR 压缩文件管理器' 'C:\\Program Files\\WinRAR\\uninstall.exe'
    entry "{26A24AE4-039D-4CA4-87B4-2F83216010FF}" 'Java(TM) 6 Update 10' 'MsiExec.exe /X{26A24AE4}'
    entry "Photoshop" 'Adobe Photoshop CS3' 'C:\\Program Files\\Adobe\\Photoshop\\uninst.exe'
    entry "Thunder" '迅雷5' 'C:\\Program Files\\Thunder\\uninst.exe'
    entry "暴风影音" '暴风影音' 'C:\\Program Files\\Storm\\uninst.exe'
    entry "腾讯QQ2008" '腾讯QQ2008' 'C:\\Program Files\\Tencent\\QQ\\uninst.exe'
    entry "搜狗拼音输入法" '搜狗拼音输入法 4.0' 'C:\\Program Files\\SogouInput\\Uninstall.exe'
    entry "金山词霸" '金山词霸 2007' 'C:\\Program Files\\Kingsoft\\uninst.exe'
} >"$WORK/machine/system.reg"

start_program
pid=$STARTED_PID
win="$(wait_for_window "$START_TITLE")" || fail "no start window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 455)) $((Y + 262)) click 1 # the program manager's launcher
TITLE="应用程序管理 --- 卸载无用的工具能节省磁盘空间，提升你的电脑运行速度"
manager="$(wait_for_window "$TITLE" 15)" || fail "no program manager window"
sleep 1

# Tick the first two rows: focus the list below its rows, go to the top, tick, down, tick.
eval "$(xdotool getwindowgeometry --shell "$manager")"
xdotool mousemove $((X + 500)) $((Y + 396)) click 1
xdotool key --window "$manager" Home space Down space
sleep 0.3
xdotool mousemove $((X + 546)) $((Y + 454)) click 1 # 卸载选中的应用程序 (&U)
for _ in $(seq 1 50); do
    [ -e "$C/Program Files/Alpha/ran" ] && break
    sleep 0.1
done
[ -e "$C/Program Files/Alpha/ran" ] || fail "the ticked uninstaller did not run"
[ "$(cat "$C/Program Files/Alpha/ran")" = "--quiet" ] || fail "the uninstaller ran without its argument"
kill -0 "$pid" 2>/dev/null || fail "the program ended after the uninstall"

close_window "$manager"
sleep 0.5
close_window "$win"
wait_for_exit "$pid" 20 || fail "the program did not end"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
echo "ok"

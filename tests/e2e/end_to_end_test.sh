#!/usr/bin/env bash
# The real program in a real X server, driven by real key presses: an empty form reports the
# missing input; the worked example is typed and generated (Enter), saved (Enter again, since
# 按钮2 is then the default) under a typed name, and the file on the desktop is compared with
# the expected bytes; a screenshot of the filled window is kept; Esc ends the program with
# exit code 0.
# Usage: end_to_end_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'kill "$app" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A display number of Xvfb's own choosing, so that parallel runs never collide.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME/Desktop" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
"$program" > "$work/app.log" 2>&1 &
app=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --class contour-gcode | head -n1) ||
    fail "the window did not appear"
# With no window manager, the focus has to be given explicitly.
focus() { xdotool windowfocus --sync "$1"; sleep 0.2; }
focus "$window"

# Waits for a window titled exactly $1 and gives it the focus.
dialog() {
    local id
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) ||
        fail "no window titled $1"
    focus "$id"
}
# Waits until no window titled $1 is shown, then gives the main window the focus back.
closed() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1 || break
        sleep 0.1
    done
    focus "$window"
}

# Enter in the empty form presses 按钮1, whose input check reports the missing length.
xdotool key Return
dialog '信息：'
xdotool key Escape
closed '信息：'

# 100 Tab 60 Tab 1 Tab (step 0.5 stays) Tab, tool 6 in place of 2, Enter.
xdotool type --delay 20 '100'
xdotool key Tab
xdotool type --delay 20 '60'
xdotool key Tab
xdotool type --delay 20 '1'
xdotool key Tab Tab ctrl+a
xdotool type --delay 20 '6'
xdotool key Return
sleep 0.5
import -window "$window" "$artifacts/end_to_end_window.png"
[ -s "$artifacts/end_to_end_window.png" ] || fail "no screenshot"

# Enter again saves: the name dialog proposes G代码, all selected; typing replaces it.
xdotool key Return
dialog '请输入文件名'
xdotool type --delay 20 'part 1'
xdotool key Return
closed '请输入文件名'
printf '%s\r\n' O2017 'G00 G54 G90 X0 Y0' 'M03 S9000 F200' 'G00 Z5' 'G00 X0 Y0' '' \
    'G00 X0 Y0' 'G01 Z-0.5' 'G01 X0 Y66' 'G01 X106 Y66' 'G01 X106 Y0' 'G01 X0 Y0' '' \
    'G01 Z-1' 'G01 X0 Y66' 'G01 X106 Y66' 'G01 X106 Y0' 'G01 X0 Y0' '' \
    'G00 Z5' 'G00 X0 Y0' 'G00 Z15' M05 M30 > "$work/expected.txt"
printf '%%' >> "$work/expected.txt"
saved="$HOME/Desktop/part 1.txt"
for _ in $(seq 50); do [ -f "$saved" ] && break; sleep 0.1; done
cmp "$work/expected.txt" "$saved" || fail "the saved file differs from the program"
[ "$(stat -c %s "$saved")" -eq 237 ] || fail "the saved file is not 237 bytes"

xdotool key Escape
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not end the program"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || { cat "$work/app.log" >&2; fail "exit code $status"; }
echo "end-to-end: passed; screenshot in $artifacts/end_to_end_window.png"

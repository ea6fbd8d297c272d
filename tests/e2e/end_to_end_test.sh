#!/usr/bin/env bash
# The real program in a real X server, driven by real key presses: an empty form reports the
# missing input, the worked example is typed and generated, a screenshot of the filled window
# is kept, and Esc ends the program with exit code 0.
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
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
"$program" > "$work/app.log" 2>&1 &
app=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --class contour-gcode | head -n1) ||
    fail "the window did not appear"
# With no window manager, the focus has to be given explicitly.
focus() { xdotool windowfocus --sync "$1"; sleep 0.2; }
focus "$window"

# Enter in the empty form presses 按钮1, whose input check reports the missing length.
xdotool key Return
message=$(timeout 10 xdotool search --sync --onlyvisible --name '^信息：$' | head -n1) ||
    fail "no message window titled 信息："
focus "$message"
xdotool key Escape
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^信息：$' > /dev/null 2>&1 || break
    sleep 0.1
done
focus "$window"

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

xdotool key Escape
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Esc did not end the program"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || { cat "$work/app.log" >&2; fail "exit code $status"; }
echo "end-to-end: passed; screenshot in $artifacts/end_to_end_window.png"

#!/bin/sh
# Takes screenshots of the debug terminal on a virtual X screen: lines of every class, and (when
# RULES and RULES_PNG are given) the same terminal started with --rules RULES, the find bar
# open and the line found bookmarked, then (DARK_PNG) that window in the dark theme, and then
# (MENU_PNG) in the light theme again with the list's right-click menu open on that line.
# Usage: screenshot.sh BIN_DIR WORK_DIR OUTPUT_PNG [RULES RULES_PNG [DARK_PNG [MENU_PNG]]]
# Wine draws real windows only through its X11 driver, so this uses a prefix of its own under
# WORK_DIR (the build's prefix has the null driver). Exits 77 (skipped) when Xvfb is missing.
set -eu
bin=$1
work=$2
png=$3
rules=${4:-}
rules_png=${5:-}
dark_png=${6:-}
menu_png=${7:-}

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb); no screenshot taken"
    exit 77
fi
for tool in xwininfo import identify; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAILED: $tool is missing (Debian packages x11-utils and imagemagick)"
        exit 1
    fi
done

mkdir -p "$work"
export WINEPREFIX="$work/wineprefix-x11"
. "$(cd "$(dirname "$0")/../../.." && pwd)/cmake/wine-test-bed.sh"
xvfb_pid=
fail() {
    echo "FAILED: $*"
    exit 1
}
cleanup() {
    wine "$bin/vornak-terminal.exe" --stop --timeout 10 </dev/null >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to file descriptor 3.
rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 1024x640x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || fail "Xvfb did not start (see $work/xvfb.log)"
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

wine_prefix_ready x11
wine_services_started
# The theme a run before left behind (the dark picture is the last) would colour the first ones.
wine reg delete 'HKCU\Software\Vornak\DebugTerminal' /v Theme /f </dev/null >/dev/null 2>&1 || true

wine "$bin/vornak-terminal.exe" </dev/null >"$work/terminal.log" 2>&1 &
wine "$bin/vornak-terminal.exe" --wait --timeout 60 </dev/null ||
    fail "the terminal did not start: $(cat "$work/terminal.log")"

send() {
    wine "$bin/vornak-send.exe" "$@" </dev/null || fail "vornak-send $* exited with $?"
}
send log "sample host started (process 412)"
send separator
send --task Scanner debug "probing adapter 1 of 2"
send --task Scanner debug "probing adapter 2 of 2"
send --task Scanner stat "packets=1843 bytes=1176512 dropped=3"
send --task Scanner log "scan finished: 2 adapters bound"
send --task Scanner error "adapter 2: link down (cable unplugged)"
send --task Uploader debug "connecting to collector.local:5140"
send --task Uploader stat "throughput=812.4 KB/s, 100% of queue sent"
send --task Uploader error "retry 1 of 3 failed: timed out"
# A program of the product writing with OutputDebugString, in the same timeline.
wine "$bin/ods-writer.exe" - "binding the protocol driver to adapter 2" </dev/null || fail "ods-writer exited with $?"
send separator =
send log "sample host done"
sleep 1  # the list is redrawn on a timer

# capture PNG: the terminal's window as it is on the screen, into PNG.
capture() {
    window=
    tries=0
    while [ -z "$window" ] && [ "$tries" -lt 100 ]; do
        window=$(xwininfo -root -tree | grep '"Vornak Debug Terminal"' | awk '{print $1}' | head -n 1)
        tries=$((tries + 1))
        [ -n "$window" ] || sleep 0.1
    done
    [ -n "$window" ] || fail "no window titled \"Vornak Debug Terminal\" on the screen: $(xwininfo -root -tree)"
    echo "terminal window: $window"
    rm -f "$1"
    if [ "${2:-}" = with-popups ]; then
        # A menu is a window of its own: the screen's pixels where the frame is, menu included.
        geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
            /Width:/ {w=$NF} /Height:/ {h=$NF} END {printf "%sx%s+%s+%s", w, h, x, y}')
        import -window root -crop "$geometry" +repage "$1" || fail "import could not capture the screen"
    else
        import -window "$window" "$1" || fail "import could not capture the window"
    fi
    [ "$(identify -format '%m' "$1" 2>/dev/null)" = PNG ] || fail "$1 is not a PNG"
    echo "screenshot written: $1 ($(identify -format '%wx%h' "$1"))"
}
capture "$png"
[ -n "$rules" ] || exit 0

# The same lines and a few more through rules and a search. The numbers are the
# window's control and command ids (terminal_resource_ids.h).
find_box=105
find_command=212
follow_command=221
toggle_bookmark_command=244
list_control=100
theme_dark_command=239
theme_light_command=238
wine "$bin/vornak-terminal.exe" --stop --timeout 30 </dev/null >/dev/null 2>&1 || fail "the first terminal did not stop"
wine "$bin/vornak-terminal.exe" --rules "$(winepath -w "$rules")" </dev/null >"$work/terminal-rules.log" 2>&1 &
wine "$bin/vornak-terminal.exe" --wait --timeout 60 </dev/null ||
    fail "the terminal with rules did not start: $(cat "$work/terminal-rules.log")"
steer() {
    wine "$bin/window-steer.exe" "$@" </dev/null || fail "window-steer $* exited with $?"
}
send log "scan started (process 412)"
send --task Scanner debug "probing adapter 1 of 2"
send --task Scanner debug "heartbeat 1"
send --task Scanner debug "probing adapter 2 of 2"
send --task Scanner error "adapter 2: link down (cable unplugged)"
send --task Scanner stat "packets=1843 bytes=1176512 dropped=3"
send --task Uploader debug "heartbeat 2"
send --task Uploader stat "throughput=812.4 KB/s, 100% of queue sent"
send --task Uploader error "retry 1 of 3 failed: timed out"
send --task Uploader debug "adapter 1: reconnect requested"
send --task Uploader debug "heartbeat 3"
send log "scan finished: 1 adapter bound"
send separator
send --task Reporter debug "report for adapter 1 queued"
send --task Reporter debug "report for adapter 2 skipped"
sleep 1
steer command $follow_command
steer command $find_command
steer text $find_box "report"
steer command $toggle_bookmark_command
sleep 1
capture "$rules_png"
[ -n "$dark_png" ] || exit 0

steer command $theme_dark_command
sleep 1
capture "$dark_png"
[ -n "$menu_png" ] || exit 0

steer command $theme_light_command
steer menu $list_control
sleep 1
capture "$menu_png" with-popups

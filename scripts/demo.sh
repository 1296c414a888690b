#!/bin/sh
# The main job: builds what it shows (nothing of the tests), prepares the Wine prefix with the
# simulated network configuration service, and shows both deliverables at work: the installer
# installing and uninstalling the driver, and the library sending lines to a debug terminal; it
# ends by saying where the release archive is made.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"

"$source_dir/scripts/packages.sh"
# The two deliverables, the terminal, the sender, the sample host, and the simulated service the
# installer talks to here.
"$source_dir/scripts/build.sh" "$build_dir" VrkQuelmor VORNAKDBG32 vornak-terminal vornak-terminal-console \
    vornak-send sample-host netcfg_sim

export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all
run="$build_dir/wine-run"
bin="$build_dir/bin"
# Leave nothing running: the terminal is asked to stop, then the Wine server ends.
trap '"$run" "$bin/vornak-terminal.exe" --stop >/dev/null 2>&1 || true; wineserver -k 2>/dev/null || true' EXIT

echo
echo "== VrkQuelmor /Install"
"$run" "$bin/VrkQuelmor.exe" /Install | tr -d '\r'
echo
echo "== VrkQuelmor /Uninstall"
"$run" "$bin/VrkQuelmor.exe" /Uninstall | tr -d '\r'
echo
echo "== VrkQuelmor /Uninstall (nothing left to remove)"
"$run" "$bin/VrkQuelmor.exe" /Uninstall | tr -d '\r'

echo
echo "== VORNAKDBG32: a headless debug terminal, a sample host with two named tasks, and vornak-send"
lines="$build_dir/terminal-lines.txt"
"$run" "$bin/vornak-terminal.exe" --headless --output "Z:$lines" </dev/null >/dev/null 2>&1 &
terminal_pid=$!
"$run" "$bin/vornak-terminal.exe" --wait --timeout 60
"$run" "$bin/sample-host.exe" | tr -d '\r'
"$run" "$bin/vornak-send.exe" --task Script log "sent by vornak-send from a script, 100% literal"
"$run" "$bin/vornak-send.exe" separator
"$run" "$bin/vornak-terminal.exe" --stop --timeout 30
wait "$terminal_pid"
echo "-- what the terminal received:"
tr -d '\r' < "$lines"
status=0
"$run" "$bin/vornak-send.exe" log "nobody is listening" || status=$?
echo "vornak-send with no terminal running: exit status $status (2 = no debug terminal)"

echo
echo "== Forwarding to a syslog collector (not run here: it needs one)"
echo "On each lab machine: vornak-terminal --headless --forward syslog+tcp://logs.example.net:514"
echo "sends every line, as RFC 5424, to the rsyslog there (README: \"Forwarding to a syslog collector\")."

echo
echo "== The release archive"
# Where CPack makes it, as configured; the main job does not make it.
cpack_value() { sed -n "s/^set($1 \"\\(.*\\)\")$/\\1/p" "$build_dir/CPackConfig.cmake"; }
archive="$(cpack_value CPACK_PACKAGE_DIRECTORY)/$(cpack_value CPACK_PACKAGE_FILE_NAME).zip"
echo "$archive, with SHA256SUMS beside it"
if [ -f "$archive" ]; then
    echo "(made $(date -r "$archive" '+%Y-%m-%d %H:%M'), $(wc -c < "$archive") bytes)"
else
    echo "(not made yet: the test command makes it, and so do 'cmake --build build --target package'"
    echo " and scripts/release.sh)"
fi

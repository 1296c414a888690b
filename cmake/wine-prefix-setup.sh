#!/bin/sh
# Creates the private Wine prefix of a build tree once: null display driver, crashes end the
# process at once (status 5) instead of starting a debugger. Usage: wine-prefix-setup.sh PREFIX STAMP
set -eu
prefix=$1
stamp=$2
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ ! -f "$stamp" ]; then
    wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f </dev/null >/dev/null 2>&1
    # The desktop process keeps the driver it started with; let the server end so the next start uses null.
    wineserver -w
    touch "$stamp"
fi

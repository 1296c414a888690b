# Sourced by everything here that runs Windows programs under Wine (the build's wrappers, the test
# command's checks, the screenshot): a private prefix made once, and Wine's server and services
# started with their output detached. Set WINEPREFIX before calling the three that make and start it.
#
#   wine_prefix_ready [x11]  makes $WINEPREFIX once, safely when several callers start together:
#                            Wine's null display driver (with x11: its X11 driver, windows drawn
#                            unmanaged), and a crash ends the process at once (status 5) instead of
#                            starting a debugger
#   wine_services_started    starts the server, the services and a desktop kept open, with their
#                            standard streams on /dev/null: otherwise they inherit the caller's
#                            and whoever reads them (CTest, test discovery) waits for them to exit
#   netcfg_sim_registered    registers the simulated network configuration service, once
#   wine_prefix_of_test BASE the prefix a test under CTest runs in (BASE, or one of its pool)
#   wine_servers_stopped BASE  ends the Wine servers of BASE and of its pool, with all they run
export WINEDEBUG=-all

# A test that needs a prefix's terminal window or simulated service to itself is given a slot of
# that resource by CTest (the build's wine-prefixes.json lists one a core): slot 0 is BASE, slot N
# is BASE-N. Everything else runs in BASE.
wine_prefix_of_test() {
    case ${CTEST_RESOURCE_GROUP_0:-} in
    debug_terminal_window) slot=${CTEST_RESOURCE_GROUP_0_DEBUG_TERMINAL_WINDOW:-} ;;
    simulated_network_configuration) slot=${CTEST_RESOURCE_GROUP_0_SIMULATED_NETWORK_CONFIGURATION:-} ;;
    *) slot= ;;
    esac
    id=${slot#id:}
    id=${id%%,*}
    case $id in
    '' | 0 | *[!0-9]*) echo "$1" ;;
    *) echo "$1-$id" ;;
    esac
}

wine_servers_stopped() {
    for prefix in "$1" "$1"-*; do
        if [ -d "$prefix" ]; then
            WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
        fi
    done
}

wine_prefix_ready() {
    stamp="$WINEPREFIX/.vornak-prefix-ready"
    if [ -f "$stamp" ]; then
        return 0
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$stamp" ]; then
            wineboot -i </dev/null >/dev/null 2>&1
            if [ "${1:-}" = x11 ]; then
                # No window manager on a virtual screen: Wine draws the frame and title bar itself.
                wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
            else
                wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
            fi
            wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
                </dev/null >/dev/null 2>&1
            # The desktop process keeps the driver it started with: let the server end, so that the
            # next start takes the one set here.
            wineserver -w
            touch "$stamp"
        fi
    ) 9>"$WINEPREFIX.lock"
}

wine_services_started() {
    # wineserver -p says 2 when a server already runs; its services were started by whoever
    # started it, and starting them again costs every program run a tenth of a second. Callers
    # that start together wait here until the first has started everything: a program run beside
    # wineboot starts services or the desktop itself, and they keep its streams.
    (
        # What starts here outlives the lock: none of it may keep the lock's descriptor.
        flock 9
        if wineserver -p </dev/null >/dev/null 2>&1 9>&-; then
            holder_ready="$WINEPREFIX/.desktop-holder-ready"
            wine_desktop_held "$holder_ready"
            wine wineboot </dev/null >/dev/null 2>&1 9>&-
            wine_file_awaited "$holder_ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# wine_desktop_held READY_FILE: the server closes the desktop a second after the last program on
# it ends, and the desktop's process (started by a program that needs it, with that program's
# standard error) holds whoever reads that stream for the second: every test under CTest took a
# second longer. A console program on the desktop for the server's life (cmd.exe uses user32; the
# pings are its sleep) keeps the one desktop that wineboot starts, with its streams on /dev/null;
# it makes READY_FILE once it runs (named from its folder, which Wine's command line could not
# quote were there a space in it).
wine_desktop_held() {
    rm -f "$1"
    (
        cd "$(dirname "$1")"
        exec wine cmd /c "echo.>$(basename "$1") & ping -n 1000000 127.0.0.1 >nul"
    ) </dev/null >/dev/null 2>&1 9>&- &
}

# wine_file_awaited FILE: returns once FILE exists, or after 20 s.
wine_file_awaited() {
    tries=0
    while [ ! -f "$1" ] && [ "$tries" -lt 200 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
}

# netcfg_sim_registered DLL: the simulated network configuration service registered in this prefix
# once, when the build has made it (the main job's installer and the tests need it; a build step
# never runs Wine).
netcfg_sim_registered() {
    stamp="$WINEPREFIX/.netcfg-sim-registered"
    if [ -f "$stamp" ] || [ ! -f "$1" ]; then
        return 0
    fi
    (
        flock 9
        if [ ! -f "$stamp" ]; then
            wine regsvr32 /s "$1" </dev/null >/dev/null 2>&1 && touch "$stamp"
        fi
    ) 9>"$WINEPREFIX.lock"
}

#!/bin/sh
# The headless terminal forwarding to a real rsyslog, started here in the foreground on
# 127.0.0.1 with a configuration of this test's own; rsyslog writes each record's fields to a
# file that forward-host checks.
# Usage: forward-to-rsyslog.sh BIN_DIR WORK_DIR WINE_RUN
# Exits 77 (skipped) only when rsyslogd is not installed (Debian package rsyslog).
set -eu
bin=$1
work=$2
winerun=$3

rsyslogd=$(command -v rsyslogd || true)
if [ -z "$rsyslogd" ] && [ -x /usr/sbin/rsyslogd ]; then
    rsyslogd=/usr/sbin/rsyslogd
fi
if [ -z "$rsyslogd" ]; then
    echo "SKIPPED: rsyslogd is not installed (Debian package rsyslog)"
    exit 77
fi

rm -rf "$work"
mkdir -p "$work/spool"
received="$work/received.txt"
rsyslog_pid=
terminal_pid=
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
stop_rsyslog() {
    if [ -n "$rsyslog_pid" ]; then
        kill -CONT "$rsyslog_pid" 2>/dev/null || true
        kill "$rsyslog_pid" 2>/dev/null || true
        wait "$rsyslog_pid" 2>/dev/null || true
        rsyslog_pid=
    fi
}
cleanup() {
    if [ -n "$terminal_pid" ]; then
        "$winerun" "$bin/vornak-terminal.com" --stop --timeout 60 </dev/null >/dev/null 2>&1 || true
        wait "$terminal_pid" 2>/dev/null || true
    fi
    stop_rsyslog
}
trap cleanup EXIT

# start_rsyslog TCP_PORT UDP_PORT: TCP port 0 lets rsyslog choose (it writes the port to a file);
# imudp cannot, so the UDP port is chosen here and another is tried when it is taken.
start_rsyslog() {
    rm -f "$work/tcp.port"
    cat >"$work/rsyslog.conf" <<CONF
global(workDirectory="$work/spool" parser.escapeControlCharactersOnReceive="off")
module(load="imtcp")
module(load="imudp")
input(type="imtcp" address="127.0.0.1" port="$1" listenPortFileName="$work/tcp.port")
input(type="imudp" address="127.0.0.1" port="$2")
template(name="fields" type="list") {
    property(name="inputname") constant(value=" ")
    property(name="msgid") constant(value=" ")
    property(name="syslogseverity") constant(value=" ")
    property(name="hostname") constant(value=" ")
    property(name="app-name") constant(value=" ")
    property(name="procid") constant(value=" ")
    property(name="timereported" dateFormat="rfc3339") constant(value=" ")
    property(name="msg" format="json") constant(value="\n")
}
action(type="omfile" file="$received" template="fields")
CONF
    "$rsyslogd" -n -f "$work/rsyslog.conf" -i "$work/rsyslog.pid" >>"$work/rsyslog.log" 2>&1 &
    rsyslog_pid=$!
    if [ "$1" != 0 ]; then
        echo "$1" >"$work/tcp.port"  # rsyslog writes the file only for a port it chose
        sleep 1.5
    fi
    tries=0
    until [ -s "$work/tcp.port" ] && kill -0 "$rsyslog_pid" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$rsyslog_pid" 2>/dev/null; then
            echo "FAILED: rsyslogd did not start (see $work/rsyslog.log):"
            cat "$work/rsyslog.log"
            exit 1
        fi
        sleep 0.1
    done
    sleep 0.5
    tcp_port=$(cat "$work/tcp.port")
}

pick_udp_port() {
    awk -v seed="$$" 'BEGIN { srand(seed + srand()); print 20000 + int(rand() * 40000) }'
}

# Starts rsyslog with TCP port $1 (0: any) and a free UDP port.
start_collector() {
    for attempt in 1 2 3 4 5; do
        udp_port=${udp_port:-$(pick_udp_port)}
        : >"$work/rsyslog.log"
        start_rsyslog "$1" "$udp_port"
        if ! grep -qi "imudp.*\(error\|could not\)\|bind" "$work/rsyslog.log"; then
            return 0
        fi
        stop_rsyslog
        udp_port=
    done
    echo "FAILED: no free UDP port for rsyslog"
    exit 1
}

# start_terminal NAME ARGUMENTS...: a headless terminal writing to NAME.txt, its messages in NAME.err.
start_terminal() {
    name=$1
    shift
    "$winerun" "$bin/vornak-terminal.com" --headless --output "Z:$work/$name.txt" "$@" \
        </dev/null >"$work/$name.out" 2>"$work/$name.err" &
    terminal_pid=$!
    "$winerun" "$bin/vornak-terminal.com" --wait --timeout 60 </dev/null >/dev/null 2>&1 ||
        { echo "FAILED: the terminal did not start:"; cat "$work/$name.err"; exit 1; }
}
stop_terminal() {
    "$winerun" "$bin/vornak-terminal.com" --stop --timeout 60 </dev/null >/dev/null 2>&1 || fail "--stop failed"
    status=0
    wait "$terminal_pid" || status=$?
    terminal_pid=
    [ "$status" = 0 ] || fail "the terminal ended with status $status"
}

host() {
    "$winerun" "$bin/forward-host.exe" "$@" </dev/null
}

# wait_for_records PATTERN COUNT: until rsyslog has written COUNT records matching PATTERN.
wait_for_records() {
    tries=0
    while [ "$(grep -c -- "$1" "$received" 2>/dev/null || true)" -lt "$2" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 120 ] || { fail "rsyslog wrote fewer than $2 records matching $1"; return 0; }
        sleep 0.5
    done
}

# median_us STATS: the median from "calls N median_us M p90_us P max_us X".
field() {
    echo "$2" | awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }'
}

echo "== A burst from several host threads, over TCP and UDP at once"
start_collector 0
start_terminal burst --forward "syslog+tcp://127.0.0.1:$tcp_port" --forward "syslog+udp://127.0.0.1:$udp_port"
host send burstA 3 400 >"$work/burstA.stats" &
host_a=$!
host send burstB 3 400 >"$work/burstB.stats" || fail "host B could not send every line"
wait "$host_a" || fail "host A could not send every line"
sleep 1  # the burst's datagrams out of rsyslog's receive buffer first: UDP drops what overflows it
host send udp 1 40 5 >/dev/null || fail "the UDP host could not send every line"
stop_terminal
wait_for_records '^imtcp .*burst[AB] ' 2400
wait_for_records '^imudp .*udp ' 40
host check "Z:$received" imtcp burstA 3 400 || fail "burst A over TCP"
host check "Z:$received" imtcp burstB 3 400 || fail "burst B over TCP"
host check "Z:$received" imudp udp 1 40 || fail "paced lines over UDP"
host expect-some "Z:$received" imudp burstA 3 400 || fail "burst A over UDP"
[ "$(grep -a -c ' burst[AB] [0-9]* [0-9]* ' "$work/burst.txt")" = 2400 ] ||
    fail "the terminal's own output does not have every line it forwarded"

echo "== rsyslog stopped for seconds in the middle of a burst"
start_terminal away --forward "syslog+tcp://127.0.0.1:$tcp_port"
up=$(host send up 2 1000) || fail "the host could not send while the collector was up"
host send mid 2 1500 1 >/dev/null &
host_mid=$!
sleep 1
kill -STOP "$rsyslog_pid"
sleep 1
away=$(host send away 2 1000) || fail "the host could not send while the collector was away"
sleep 2
kill -CONT "$rsyslog_pid"
wait "$host_mid" || fail "the host could not send every line in the middle of the burst"
stop_terminal
echo "collector up:   $up"
echo "collector away: $away"
wait_for_records '^imtcp .*\(up\|mid\|away\) ' 7000
host check "Z:$received" imtcp up 2 1000 || fail "lines before the stop"
host check "Z:$received" imtcp mid 2 1500 || fail "lines across the stop"
host check "Z:$received" imtcp away 2 1000 || fail "lines while rsyslog was stopped"
# Generous bounds: the hosts' calls must not wait for the collector, which took seconds.
for stat in median_us p90_us; do
    before=$(field "$stat" "$up")
    during=$(field "$stat" "$away")
    if [ -z "$before" ] || [ -z "$during" ] || [ "$during" -gt $((before * 5 + 2000)) ]; then
        fail "the hosts' calls took longer while the collector was away ($stat $before -> $during)"
    fi
done

echo "== rsyslog ends while connected; a small queue meanwhile; rsyslog back on its port; a host that is not found"
start_terminal small --forward "syslog+tcp://127.0.0.1:$tcp_port" --forward-queue 100 \
    --forward "syslog+tcp://no-such-host.invalid:514"
host send before 1 20 >/dev/null || fail "the host could not send before rsyslog ended"
wait_for_records '^imtcp .*before ' 20
stop_rsyslog
sleep 1
host send drop 1 250 >/dev/null || fail "the host could not send while the collector was gone"
start_collector "$tcp_port"
wait_for_records '^imtcp .*drop ' 100
host send after 1 20 >/dev/null || fail "the host could not send after the collector came back"
wait_for_records '^imtcp .*after ' 20
stop_terminal
host check "Z:$received" imtcp drop 1 250 100 || fail "the lines kept and the count of those dropped"
host check "Z:$received" imtcp before 1 20 || fail "lines before rsyslog ended"
host check "Z:$received" imtcp after 1 20 || fail "lines after the collector came back"
err="$work/small.err"
grep -q "vornak-terminal: 150 lines dropped on the way to the collector syslog+tcp://127.0.0.1:$tcp_port: its queue was full while the collector could not be reached or was not taking lines" "$err" ||
    fail "the dropped lines were not reported at the end"
grep -q "vornak-terminal: the collector syslog+tcp://127.0.0.1:$tcp_port closed the connection (lines wait in its queue; the terminal keeps trying)" "$err" ||
    fail "the collector's end was not said"
grep -q "vornak-terminal: the collector syslog+tcp://127.0.0.1:$tcp_port is reached; waiting lines go on to it" "$err" ||
    fail "the collector's return was not said"
grep -q "vornak-terminal: 190 lines dropped on the way to the collector syslog+tcp://no-such-host.invalid:514: its queue was full while the collector could not be reached or was not taking lines" "$err" ||
    fail "the lines the missing collector's queue dropped were not reported"
[ "$(grep -c "cannot find the host of the collector syslog+tcp://no-such-host.invalid:514" "$err")" = 1 ] ||
    fail "the host that is not found was not said exactly once"
grep -q "vornak-terminal: 100 lines could not be delivered to the collector syslog+tcp://no-such-host.invalid:514 before the end" "$err" ||
    fail "the lines the missing collector never got were not reported"
echo "-- the terminal's messages:"
cat "$err"

if [ "$failures" != 0 ]; then
    echo "$failures checks failed; rsyslog's records are in $received"
    exit 1
fi
echo "PASSED"

#!/bin/sh
# Usage: benchmarks/forwarding/run-forwarding-benchmark.sh BUILD-DIR [ROUNDS]
# Lines per second into a headless terminal that forwards every line over TCP to a real rsyslog
# (started here in the foreground on 127.0.0.1), beside the same terminal without forwarding,
# in alternating rounds; prints the figures and the target (forwarding at least 0.9 of the rate
# without). A benchmark: it prints, and fails only when it cannot run.
set -eu
if [ $# -lt 1 ] || [ ! -x "$1/wine-run" ]; then
    echo "usage: $0 BUILD-DIR [ROUNDS]   (a build tree configured with the MinGW toolchain file; it has wine-run)" >&2
    exit 64
fi
build=$(cd "$1" && pwd)
rounds=${2:-5}
bin="$build/bin"
run="$build/wine-run"
work="$build/benchmarks/forwarding-work"
rsyslogd=$(command -v rsyslogd || echo /usr/sbin/rsyslogd)
if [ ! -x "$rsyslogd" ]; then
    echo "rsyslogd is not installed (Debian package rsyslog): nothing measured" >&2
    exit 69
fi
threads=4
lines=1500
total=$((threads * lines))
cmake --build "$build" --target vornak-terminal-console forward-host >/dev/null

rm -rf "$work"
mkdir -p "$work/spool"
cat >"$work/rsyslog.conf" <<CONF
global(workDirectory="$work/spool")
module(load="imtcp")
input(type="imtcp" address="127.0.0.1" port="0" listenPortFileName="$work/tcp.port")
template(name="text" type="string" string="%msg%\n")
action(type="omfile" file="$work/received.txt" template="text")
CONF
"$rsyslogd" -n -f "$work/rsyslog.conf" -i "$work/rsyslog.pid" >"$work/rsyslog.log" 2>&1 &
rsyslog_pid=$!
trap 'kill "$rsyslog_pid" 2>/dev/null || true; wait "$rsyslog_pid" 2>/dev/null || true' EXIT
tries=0
until [ -s "$work/tcp.port" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "rsyslogd did not start" >&2; cat "$work/rsyslog.log" >&2; exit 1; }
    sleep 0.1
done
port=$(cat "$work/tcp.port")

# round MODE TAG: one terminal, one host of $threads threads; prints the host's lines/s, and for
# forwarding the lines/s until rsyslog had written the last line.
round() {
    if [ "$1" = forward ]; then
        set -- "$1" "$2" --forward "syslog+tcp://127.0.0.1:$port"
    else
        set -- "$1" "$2"
    fi
    mode=$1
    tag=$2
    shift 2
    "$run" "$bin/vornak-terminal.com" --headless --output "Z:$work/$tag.txt" "$@" </dev/null >/dev/null 2>&1 &
    terminal=$!
    "$run" "$bin/vornak-terminal.com" --wait --timeout 60 </dev/null >/dev/null 2>&1
    began=$(date +%s.%N)
    stats=$("$run" "$bin/forward-host.exe" send "$tag" "$threads" "$lines" </dev/null | tr -d '\r')
    rate=$(echo "$stats" | awk '{ for (i = 1; i < NF; i++) if ($i == "lines_per_s") print $(i + 1) }')
    delivered=-
    if [ "$mode" = forward ]; then
        while [ "$(grep -c "^$tag " "$work/received.txt" 2>/dev/null || true)" -lt "$total" ]; do
            sleep 0.05
        done
        ended=$(date +%s.%N)
        delivered=$(awk -v n="$total" -v a="$began" -v b="$ended" 'BEGIN { printf "%.0f", n / (b - a) }')
    fi
    "$run" "$bin/vornak-terminal.com" --stop --timeout 60 </dev/null >/dev/null 2>&1
    wait "$terminal" || true
    echo "$rate $delivered"
}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(wine --version 2>/dev/null), rsyslogd $("$rsyslogd" -v | head -1 | awk '{ print $2 }')"
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "Lines per second into a headless terminal, $threads host threads x $lines lines of up to 254 characters"
echo "(the hosts' rate; 'delivered': lines/s from the first line sent until rsyslog wrote the last)"
echo "  round  without  forwarding  ratio  delivered"
ratios=""
for r in $(seq 1 "$rounds"); do
    # Alternating which goes first: the machine's load changes by the second.
    if [ $((r % 2)) = 1 ]; then
        plain=$(round plain "plain$r")
        forwarded=$(round forward "fwd$r")
    else
        forwarded=$(round forward "fwd$r")
        plain=$(round plain "plain$r")
    fi
    p=${plain%% *}
    f=${forwarded%% *}
    d=${forwarded##* }
    ratio=$(awk -v f="$f" -v p="$p" 'BEGIN { printf "%.3f", f / p }')
    ratios="$ratios $ratio"
    printf "  %5d  %7s  %10s  %5s  %9s\n" "$r" "$p" "$f" "$ratio" "$d"
done
median=$(echo "$ratios" | tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "Median ratio forwarding/without: $median (target: at least 0.90)"
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

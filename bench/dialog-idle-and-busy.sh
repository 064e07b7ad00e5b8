#!/usr/bin/env bash
# The real program's cost under a virtual X server with the SDL backend:
#  - wake-ups of the idle dialog over 10 s with the overlay hidden (context switches of all its
#    threads: each one is a thread that slept and was woken),
#  - CPU while the overlay animates during a download that trickles in (10 s),
#  - resident memory of the idle program.
#   bench/dialog-idle-and-busy.sh [program]   (default: build/release/app/kestrel)
# With ACCESSIBILITY_BUS=1 the program runs in a private D-Bus session whose accessibility bus says
# assistive technologies are enabled (as while a screen reader runs), so the bridge is loaded.
# With PERF_DATA=file the busy phase is recorded with perf (call graphs) into that file instead
# of measured (paths relative to the repository): perf report -i file --children.
set -euo pipefail
cd "$(dirname "$0")/.."
program="$(realpath "${1:-build/release/app/kestrel}")"
work="$(mktemp -d)"
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT

scripts/slow-loopback-server.py > "$work/port" & server=$!
until [ -s "$work/port" ]; do sleep 0.1; done

cat > "$work/measure" <<'SH'
#!/bin/bash
switches() { cat /proc/$1/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
ticks() { awk '{print $14 + $15}' /proc/$1/stat; }
"$PROGRAM" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Download' | head -1)
sleep 3
s0=$(switches $pid); sleep 10; s1=$(switches $pid)
rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
echo "idle: $((s1 - s0)) wake-ups in 10 s; resident $((rss / 1024)) MB ($rss kB); threads $(ls /proc/$pid/task | wc -l)"
grep -q libatk-bridge /proc/$pid/maps && bridge=loaded || bridge="not loaded"
echo "accessibility bridge: $bridge"
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 445) / 2 ))
xdotool mousemove --window "$wid" $(( border + 222 )) $(( HEIGHT - border - 592 + 480 )) click 1
sleep 2
if [ -n "$PERF_DATA" ]; then
  perf record --call-graph dwarf,16384 -F 1000 -p $pid -o "$PERF_DATA" -- sleep 10 2>/dev/null
  echo "busy: recorded into $PERF_DATA"
else
  t0=$(ticks $pid); s0=$(switches $pid); sleep 10; t1=$(ticks $pid); s1=$(switches $pid)
  hz=$(getconf CLK_TCK)
  echo "busy: CPU $(( (t1 - t0) * 1000 / hz / 100 )).$(( (t1 - t0) * 1000 / hz % 100 / 10 )) % of a core over 10 s; $((s1 - s0)) wake-ups"
fi
kill $pid; wait $pid 2>/dev/null || true
SH
chmod +x "$work/measure"
export PROGRAM="$program" KESTREL_BACKEND=sdl TEMP="$work" no_proxy= LANGUAGE=en_US PERF_DATA="${PERF_DATA:+$(realpath -m "$PERF_DATA")}"
export http_proxy="http://127.0.0.1:$(cat "$work/port")" KESTREL_OPEN_COMMAND=true
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
if [ "${ACCESSIBILITY_BUS:-0}" = 1 ]; then
  cat > "$work/session" <<'SH'
#!/bin/bash
dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
exec xvfb-run -a -s "-screen 0 1024x768x24" "$1"
SH
  chmod +x "$work/session"
  dbus-run-session -- "$work/session" "$work/measure" 2> >(grep -v 'dbus-daemon\|SpiRegistry' >&2)
else
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/measure"
fi

#!/usr/bin/env bash
# Starts or stops the display and the wineserver of the two-monitor tests: an Xvfb of its own on a
# free display number, with two screens joined by Xinerama (RANDR off, so that Wine takes its
# monitors from Xinerama), and a fresh wineserver for the prefix, whose first program is started
# on that display: Wine keeps the monitor list of its session's first display.
#   two-monitors.sh start|stop PREFIX RUNNER STATE
# STATE names the file the display (":N") is written to, for the runner; STATE.pid holds Xvfb's.
set -u
prefix=$2
runner=$3
state=$4
export WINEPREFIX=$prefix WINEDEBUG=-all

stop_server() { wineserver -k </dev/null >/dev/null 2>&1; wineserver -w </dev/null >/dev/null 2>&1; }

case $1 in
  start)
    stop_server  # one left by an earlier program, e.g. the test listing at build time
    rm -f "$state" "$state.pid"
    exec 3>"$state.number"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -screen 1 1280x1024x24 +xinerama -extension RANDR -nolisten tcp \
      </dev/null >/dev/null 2>&1 &
    echo $! >"$state.pid"
    exec 3>&-
    for _ in $(seq 100); do
      [ -s "$state.number" ] && break
      sleep 0.1
    done
    [ -s "$state.number" ] || { echo "Xvfb did not start" >&2; exit 1; }
    echo ":$(tr -d '\n' <"$state.number")" >"$state"
    rm -f "$state.number"
    wineserver -p </dev/null >/dev/null 2>&1
    "$runner" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    stop_server
    [ -s "$state.pid" ] && kill "$(cat "$state.pid")" 2>/dev/null
    rm -f "$state" "$state.pid"
    exit 0
    ;;
esac

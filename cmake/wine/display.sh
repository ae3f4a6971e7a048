#!/usr/bin/env bash
# Starts or stops a virtual display for a test run: an Xvfb on a display number it picks itself
# (-displayfd, so that runs side by side never race for one), with the given Xvfb options. The
# display (":N") is written to STATE for the runners; STATE.pid holds Xvfb's process.
#   display.sh start STATE [XVFB OPTIONS...]
#   display.sh stop STATE
set -u
action=$1
state=$2
shift 2
case $action in
  start)
    [ -s "$state.pid" ] && kill "$(cat "$state.pid")" 2>/dev/null
    rm -f "$state" "$state.pid" "$state.fifo"
    # Xvfb writes the number to the pipe once it accepts clients: reading it waits for exactly that.
    mkfifo "$state.fifo"
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$state.fifo" </dev/null >/dev/null 2>&1 &
    echo $! >"$state.pid"
    number=
    read -r number <"$state.fifo"
    rm -f "$state.fifo"
    [ -n "$number" ] || { echo "Xvfb did not start (options: $*)" >&2; rm -f "$state.pid"; exit 1; }
    echo ":$number" >"$state"
    echo "display $(cat "$state")"
    ;;
  stop)
    [ -s "$state.pid" ] && kill "$(cat "$state.pid")" 2>/dev/null
    rm -f "$state" "$state.pid" "$state.fifo"
    exit 0
    ;;
esac

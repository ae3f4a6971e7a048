#!/usr/bin/env bash
# Starts or stops the one persistent wineserver of a test run's prefix, so that no test waits for
# its own. Their output goes nowhere: a daemon holding the caller's pipes would stall the runner.
#   server.sh start|stop PREFIX RUNNER
set -u
prefix=$2
runner=$3
export WINEPREFIX=$prefix WINEDEBUG=-all
stop_server() { wineserver -k </dev/null >/dev/null 2>&1; wineserver -w </dev/null >/dev/null 2>&1; }
case $1 in
  # Wine's own services (services.exe, winedevice.exe ...) start with the first program and live
  # as long as the server: start them here too, away from the test runner's pipes. A server left by
  # the listing of the tests, which would not stay, is replaced first.
  start)
    stop_server
    wineserver -p </dev/null >/dev/null 2>&1
    "$runner" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop) stop_server; exit 0 ;;
esac

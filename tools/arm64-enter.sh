#!/usr/bin/env bash
# Runs a command inside the arm64 root (tools/arm64-root.sh) under emulation
# (tools/arm64-emulation.sh), in a mount namespace of its own: /proc, /dev and the X displays'
# sockets of this machine are mounted there, and each folder given with --bind at its own path, so
# that paths mean the same inside and out. The command keeps the environment and, when it is inside
# a bound folder, the working folder. The mounts end with the last process of the namespace (a
# wineserver may outlive the command); nothing is mounted in the root outside it.
#   arm64-enter.sh [--root DIR] [--bind DIR]... COMMAND...
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
root=
binds=()
while [ $# -gt 0 ]; do
  case $1 in
    --root) root=$2; shift 2 ;;
    --bind) binds+=("$(realpath "$2")"); shift 2 ;;
    *) break ;;
  esac
done
# An X authority file (xvfb-run's, for one) is read from inside the root too.
if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
  binds+=("$(dirname "$(realpath "$XAUTHORITY")")")
fi
[ $# -gt 0 ] || { echo "usage: $0 [--root DIR] [--bind DIR]... COMMAND..." >&2; exit 2; }
[ -n "$root" ] || root=$("$tools/arm64-root.sh" --print)
[ -x "$root/usr/lib/wine/wine64" ] || {
  echo "arm64-enter: no arm64 root with Wine at $root (tools/arm64-root.sh makes it)" >&2
  exit 1
}

# Inside the new namespace: the mounts, then the command in the root.
inside='
  set -e
  root=$1; shift
  count=$1; shift
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  if [ -d /tmp/.X11-unix ]; then
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  fi
  while [ "$count" -gt 0 ]; do
    mkdir -p "$root$1"
    mount --bind "$1" "$root$1"
    shift
    count=$((count - 1))
  done
  exec chroot "$root" /bin/sh -c '\''cd "$0" 2>/dev/null || cd /; exec "$@"'\'' "$PWD" "$@"
'
exec "$tools/arm64-emulation.sh" run unshare --mount --propagation private \
  bash -c "$inside" inside "$root" "${#binds[@]}" "${binds[@]}" "$@"

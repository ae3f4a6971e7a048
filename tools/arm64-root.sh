#!/usr/bin/env bash
# Makes the arm64 Debian root with Debian's arm64 Wine in which the ARM64 Windows programs run
# under qemu-user emulation, and prints its path. It goes outside the work tree, shared by every
# clone like the Zig toolchain, under a name keyed by a hash of its recipe, so that a changed recipe
# makes a new root; roots of older recipes are removed once the new one is complete. It is made in
# a folder beside the final one and moved there only when complete. The first time costs 6 to 15
# minutes (the packages' scripts run emulated) and 550 MB; after that, nothing.
#   tools/arm64-root.sh [--print]   (--print only prints the path, making nothing)
# Needs root, mmdebstrap and arm64 emulation (tools/arm64-emulation.sh).
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
cache=${ZEM_TOOLCHAINS:-$HOME/.cache/zem-variations}

suite=bookworm
mirror=http://deb.debian.org/debian
# Wine and what the host's Wine has beside it: the X extensions its display driver uses (Xinerama
# for the two-monitor tests, XRandR, XInput...) and the fonts the Windows tests render with.
packages=wine,wine64,libwine,libxinerama1,libxrandr2,libxcursor1,libxi6,libxcomposite1,libxrender1
packages+=,libxxf86vm1,libxfixes3,libxext6,libfreetype6,libfontconfig1,fonts-dejavu-core
options="--mode=root --variant=apt --architectures=arm64 --include=$packages"
key=$(printf 'mmdebstrap %s %s TARGET %s\n' "$options" "$suite" "$mirror" | sha256sum | cut -c1-12)
root=$cache/arm64-root-$key

if [ "${1:-}" = "--print" ] || [ -x "$root/usr/lib/wine/wine64" ]; then
  echo "$root"
  exit 0
fi
command -v mmdebstrap >/dev/null || { echo "arm64-root: mmdebstrap is not installed (package mmdebstrap)" >&2; exit 1; }
mkdir -p "$cache"
# One maker at a time; a second one waits and then finds the root made.
exec {lock}>"$root.lock"
flock "$lock"
if [ ! -x "$root/usr/lib/wine/wine64" ]; then
  echo "arm64-root: making $root (6 to 15 minutes, once)" >&2
  partial=$root.partial
  rm -rf "$partial"
  started=$SECONDS
  # shellcheck disable=SC2086 # the options are split into their words on purpose
  "$tools/arm64-emulation.sh" run mmdebstrap $options "$suite" "$partial" "$mirror" >&2
  "$tools/arm64-enter.sh" --root "$partial" /usr/lib/wine/wine64 --version >&2 || {
    echo "arm64-root: the new root's Wine does not start" >&2
    exit 1
  }
  # The apt lists and package files are not needed to run anything.
  rm -rf "$partial"/var/cache/apt/archives/*.deb "$partial"/var/lib/apt/lists/*
  mv "$partial" "$root"
  echo "arm64-root: made in $((SECONDS - started)) s, $(du -sh "$root" | cut -f1)" >&2
  for old in "$cache"/arm64-root-*; do
    case $old in "$root" | "$root".*) ;; *) rm -rf "$old" ;; esac
  done
fi
echo "$root"

#!/usr/bin/env bash
# Runs a command with Linux able to run arm64 programs through qemu-user emulation: registers the
# `qemu-aarch64` binfmt_misc entry (mounting binfmt_misc first if needed) for the command's run only
# and removes it afterwards. An entry that was there before is used and left alone. Runs nested or
# side by side share one registration, removed when the last of them ends.
#   tools/arm64-emulation.sh check           exits 0 when emulation can be set up; otherwise prints
#                                            why not, in one line, and exits 1
#   tools/arm64-emulation.sh run COMMAND...  runs COMMAND with the entry registered
# ZEM_NO_ARM64_EMULATION=1 answers no on any machine, so that the path without it can be tried.
set -u
name=zem-qemu-aarch64
qemu=/usr/bin/qemu-aarch64-static
binfmt=/proc/sys/fs/binfmt_misc
state=/run/zem-arm64-emulation
# The ELF header of a little-endian 64-bit executable or shared object for machine 183 (AArch64).
magic='\x7f\x45\x4c\x46\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00'
mask='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
magic_hex=7f454c460201010000000000000000000200b700

# Whether an enabled entry for arm64 programs is registered, under any name.
arm64_entry_present() {
  local entry
  for entry in "$binfmt"/*; do
    case ${entry##*/} in register | status) continue ;; esac
    [ -f "$entry" ] && head -n 1 "$entry" | grep -qx enabled &&
      grep -q "^magic $magic_hex" "$entry" 2>/dev/null && return 0
  done
  return 1
}

# Prints why emulation cannot be set up, or nothing when it can (mounting binfmt_misc if needed).
why_not() {
  if [ "${ZEM_NO_ARM64_EMULATION:-0}" = 1 ]; then
    echo "ZEM_NO_ARM64_EMULATION=1 treats this machine as one without arm64 emulation"
    return
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "arm64 emulation needs root (to register a binfmt_misc entry and enter the arm64 root)"
    return
  fi
  if [ ! -x "$qemu" ]; then
    echo "$qemu is not installed (package qemu-user-static)"
    return
  fi
  if [ ! -e "$binfmt/register" ]; then
    if ! grep -qw binfmt_misc /proc/filesystems 2>/dev/null &&
      ! modprobe binfmt_misc >/dev/null 2>&1; then
      echo "this kernel has no binfmt_misc"
      return
    fi
    if ! mount -t binfmt_misc binfmt_misc "$binfmt" >/dev/null 2>&1 || [ ! -e "$binfmt/register" ]; then
      echo "binfmt_misc cannot be mounted on $binfmt here"
      return
    fi
  fi
  if [ "$(cat "$binfmt/status" 2>/dev/null)" != enabled ]; then
    echo "binfmt_misc is disabled on this machine ($binfmt/status)"
    return
  fi
}

# Every run holds a shared lock on $state/users while it lasts (its command does not inherit it, so
# that a daemon the command leaves behind holds nothing); the last run out is the one that can take
# it exclusively. Joining and leaving happen under the exclusive $state/lock, one at a time.
join() {
  mkdir -p "$state"
  exec {lock}>"$state/lock"
  flock "$lock"
  if ! arm64_entry_present; then
    printf ':%s:M::%s:%s:%s:F' "$name" "$magic" "$mask" "$qemu" >"$binfmt/register" || {
      echo "the binfmt_misc entry for arm64 programs could not be registered" >&2
      exec {lock}>&-
      return 1
    }
    # The F flag opens the emulator now, so that it also serves programs inside a chroot that
    # does not contain it.
    touch "$state/ours"
  fi
  exec {users}>"$state/users"
  flock -s "$users"
  exec {lock}>&-
}

leave() {
  exec {lock}>"$state/lock"
  flock "$lock"
  exec {users}>&-
  exec {users}>"$state/users"
  if flock -x -n "$users" && [ -e "$state/ours" ]; then
    [ -e "$binfmt/$name" ] && echo -1 >"$binfmt/$name"
    rm -f "$state/ours"
  fi
  exec {users}>&- {lock}>&-
  return 0
}

case "${1:-}" in
check)
  reason=$(why_not)
  [ -z "$reason" ] && exit 0
  echo "$reason"
  exit 1
  ;;
run)
  shift
  reason=$(why_not)
  if [ -n "$reason" ]; then
    echo "arm64-emulation: $reason" >&2
    exit 1
  fi
  join || exit 1
  trap leave EXIT
  trap 'exit 130' INT TERM
  "$@" {users}>&-
  exit $?
  ;;
*)
  echo "usage: $0 check | run COMMAND..." >&2
  exit 2
  ;;
esac

#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and the machine lacks;
# then the Zig compiler for the ARM64 module, from the npm registry (tools/install-zig.sh).
set -euo pipefail

missing=()
need_command() { command -v "$1" >/dev/null 2>&1 || missing+=("$2"); }
need_file() { [ -e "$1" ] || missing+=("$2"); }
need_package() { dpkg -s "$1" >/dev/null 2>&1 || missing+=("$1"); }

need_command cmake cmake
need_command ninja ninja-build
need_command g++ g++
need_file /usr/include/gtest/gtest.h libgtest-dev
need_file /usr/src/googletest/CMakeLists.txt googletest
need_command i686-w64-mingw32-g++-win32 g++-mingw-w64-i686
need_command x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64
need_command wine wine
need_package wine32:i386
need_file /usr/lib/wine/wine64 wine64
need_command clang++ clang
# llvm-readobj reads the resources of a module that this machine cannot run.
need_command llvm-readobj llvm
need_file /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need_command Xvfb xvfb
need_command xvfb-run xvfb
need_command xauth xauth
# The ARM64 module: Zig comes through npm; its resources are compiled by LLVM's windres (package
# llvm) with the MinGW-w64 headers.
need_command npm npm
need_file /usr/share/mingw-w64/include/windows.h mingw-w64-common
need_command zip zip
# The installer: makensis with its amd64-unicode stubs.
need_command makensis nsis
need_command unzip unzip
# Xinerama's client library for each Wine loader: the two-monitor tests' display reports its
# monitors through it.
need_package libxinerama1:amd64
need_package libxinerama1:i386
need_file /usr/include/stb/stb_image_write.h libstb-dev
need_file /usr/include/png.h libpng-dev
need_file /usr/include/jpeglib.h libjpeg-dev
# The ARM64 Windows tests run in an arm64 Debian root with Debian's arm64 Wine (tools/arm64-root.sh),
# under qemu-user emulation (tools/arm64-emulation.sh); mmdebstrap makes that root and needs
# arch-test to see that arm64 programs run.
need_command mmdebstrap mmdebstrap
need_command arch-test arch-test
need_file /usr/bin/qemu-aarch64-static qemu-user-static

install_missing() {
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    native=()
    for package in "${missing[@]}"; do [[ "$package" == *:i386 ]] || native+=("$package"); done
    echo "install-deps: missing ${missing[*]}; as root: dpkg --add-architecture i386 && apt-get update &&" \
      "apt-get install --no-install-recommends ${missing[*]}" >&2
    # Without the 32-bit packages the x86 Windows tests are skipped; everything else still runs.
    [ ${#native[@]} -eq 0 ] && return 0
    return 1
  fi
  dpkg --add-architecture i386
  # A mirror caught mid-sync fails one index file; the others still serve, so go on with them.
  apt-get update -q || echo "apt-get update reported errors; installing from the package lists it has"

  apt_install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"; }
  apt_install "${missing[@]}" && return 0
  # When one architecture's index of the security suite is missing, the i386 and amd64 candidates of
  # a library differ, and Multi-Arch libraries must match: take every package from the release's
  # own suite instead.
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -n "$codename" ]; then
    echo "retrying with the packages of '$codename' itself"
    apt_install -t "$codename" "${missing[@]}" && return 0
  fi
  # Without the 32-bit packages the x86 Windows tests are skipped; everything else still runs.
  native=()
  for package in "${missing[@]}"; do [[ "$package" == *:i386 ]] || native+=("$package"); done
  if [ ${#native[@]} -lt ${#missing[@]} ] && { [ ${#native[@]} -eq 0 ] || apt_install "${native[@]}"; }; then
    echo "install-deps: the 32-bit packages could not be installed, so 32-bit Windows programs will not run here"
    return 0
  fi
  echo "install-deps: could not install: ${missing[*]}" >&2
  return 1
}

install_missing
"$(dirname "$0")/install-zig.sh" >/dev/null

#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and the machine lacks.
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
need_file /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need_command xvfb-run xvfb
need_command xauth xauth
need_command zip zip
need_command unzip unzip
# Xinerama's client library for each Wine loader: the two-monitor tests' display reports its
# monitors through it.
need_package libxinerama1:amd64
need_package libxinerama1:i386
need_file /usr/include/stb/stb_image_write.h libstb-dev
need_file /usr/include/png.h libpng-dev
need_file /usr/include/jpeglib.h libjpeg-dev

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "run as root, or install these packages first: ${missing[*]}" >&2
    exit 1
  fi
  dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

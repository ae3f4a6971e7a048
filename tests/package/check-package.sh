#!/usr/bin/env bash
# Checks the release package as a user would after downloading it: unpacked into an empty folder,
# its checksums verified, each module of the right architecture with the right exports, and the
# reference host of each architecture run on the unpacked module and action set; the setup beside
# it listed and of the right kind (tests/installer/check-installer.sh installs and removes it). The
# x64 module built again alone, in a folder of its own, must be the packaged one byte for byte, and
# packaging again must give the same zip and the same setup. Each check is a CTest test
# (cmake/PackageTests.cmake): this script runs one, named, and exits 0 when it holds, 77 when it
# cannot be made here, 1 otherwise.
#   bash tests/package/check-package.sh --builds DIR --work DIR CHECK
# The package is made from the release builds DIR/win32, DIR/win64 and DIR/arm64 (the test
# command's); WORK holds the unpacked package and what the checks write. Nothing here runs the
# ARM64 module: it is read. On a machine that runs no 32-bit programs the x86 reference host is not
# run: those checks are skipped, with the reason.
set -uo pipefail
cd "$(dirname "$0")/../.."

[ "${1:-}" = "--builds" ] && [ "${3:-}" = "--work" ] && [ $# -eq 5 ] ||
  { echo "usage: check-package.sh --builds DIR --work DIR CHECK" >&2; exit 2; }
builds=$2
work=$4
check=$5
package_options=(--builds "$builds")
version=$(sed -n 's/^project(ZEM_Variations VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
zip_file=build/package/ZEM_Variations-$version-windows.zip
setup_file=build/package/ZEM_Variations-$version-setup.exe
unpacked=$work/unpacked
mkdir -p "$work"

members_are_exactly_the_eight() {
  diff <(unzip -Z1 "$zip_file" | sort) \
       <(printf '%s\n' INSTALL.txt SHA256SUMS arm64/ZEM_Variations.8li arm64/ZEM_Variations.atn \
                        x64/ZEM_Variations.8li x64/ZEM_Variations.atn x86/ZEM_Variations.8li x86/ZEM_Variations.atn)
}
checksums_hold() { (cd "$unpacked" && sha256sum --check --strict SHA256SUMS); }
install_guide_is_crlf_text() {
  local lines crlf
  lines=$(wc -l <"$unpacked/INSTALL.txt")
  crlf=$(grep -c $'\r$' "$unpacked/INSTALL.txt")
  [ "$lines" -gt 50 ] && [ "$lines" -eq "$crlf" ] && ! grep -q '@VERSION@' "$unpacked/INSTALL.txt" &&
    grep -q "ZEM_Variations $version" "$unpacked/INSTALL.txt" && grep -q 'executeAction(charIDToTypeID("zemT")' "$unpacked/INSTALL.txt"
}
module_is() {
  local arch=$1 objdump=$2 folder
  folder=$(tr A-Z a-z <<<"$arch")
  cmake -DOBJDUMP="$objdump" -DMODULE="$unpacked/$folder/ZEM_Variations.8li" -DARCH="$arch" -P cmake/CheckModuleBinary.cmake
}
windows_path() { echo "Z:${1//\//\\}"; }
# A check of the x86 reference host: run only where this machine runs 32-bit programs.
needs_x86() {
  local reason
  reason=$(tools/runs-32bit-programs.sh) && return 0
  echo "skipped: $reason"
  exit 77
}
# The reference host of one architecture on an unpacked module, started as a fresh Photoshop with
# no action set: the module loads the set beside it, and the whole run is one history state.
reference_host_plays() {
  local build=$1 module=$2 out=$work/out-$1
  "$builds/$build/wine-run.sh" "$builds/$build/bin/hostsim.exe" \
    --plugin "$(windows_path "$unpacked/$module")" --no-action-set \
    --mode 4 --out "$(windows_path "$out")" | tr -d '\r' | tee "$work/run-$build.log"
  grep -q "loaded from the plug-in's folder: .*${module%/*}.ZEM_Variations.atn" "$work/run-$build.log" &&
    grep -q '18 of 18 actions of .*ZEM_Variations.atn played, plug-in result 0' "$work/run-$build.log" &&
    grep -q '^history: 1 state, ZEM_Variations' "$work/run-$build.log" &&
    [ -s "$out/contact-sheet.png" ] && [ -s "$out/event-log.txt" ]
}
# The reference host of one architecture refuses the other architecture's module by name.
reference_host_refuses() {
  local build=$1 module=$2 expected=$3 out=$work/refused-$1
  ! "$builds/$build/wine-run.sh" "$builds/$build/bin/hostsim.exe" \
    --plugin "$(windows_path "$unpacked/$module")" --out "$(windows_path "$out")" 2>"$work/refusal.log" &&
    grep -q "$expected" "$work/refusal.log" && [ ! -e "$out" ]
}
# The plug-in configured and built alone asks for none of the libraries of the host model, the
# reference host or the tests, and gives the packaged module byte for byte (stamped, as the
# package's are, with the commit's time).
plugin_builds_alone() {
  local build=$work/plugin-only
  rm -rf "$build"
  local -x SOURCE_DATE_EPOCH
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) || return 1
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DZEM_PLUGIN_ONLY=ON || return 1
  if grep -E '^(STB_INCLUDE_DIR|PNG_|JPEG_|GTest_|GTEST_)' "$build/CMakeCache.txt"; then
    echo "the plug-in alone asked for the libraries above"
    return 1
  fi
  cmake --build "$build" --target ZEM_Variations zem_action_set &&
    cmp "$build/bin/ZEM_Variations.8li" "$unpacked/x64/ZEM_Variations.8li" &&
    cmp "$build/bin/ZEM_Variations.atn" "$unpacked/x64/ZEM_Variations.atn" &&
    cmp "$build/bin/ZEM_Variations.atn" "$unpacked/x86/ZEM_Variations.atn"
}
same_zip_again() {
  local first
  first=$(sha256sum "$zip_file" "$setup_file")
  tools/package.sh "${package_options[@]}" && [ "$(sha256sum "$zip_file" "$setup_file")" = "$first" ]
}
setup_is_listed() { (cd build/package && sha256sum --check --strict SHA256SUMS) && [ "$(wc -l <build/package/SHA256SUMS)" -eq 2 ]; }
# grep reads to the end (no -q), so that objdump is never cut off by a closed pipe.
setup_is_x64_program() { x86_64-w64-mingw32-objdump -f "$setup_file" | grep 'file format pei-x86-64' >/dev/null; }
makes_and_unpacks() {
  tools/package.sh "${package_options[@]}" || return 1
  rm -rf "$unpacked"
  mkdir -p "$unpacked"
  unzip -q "$zip_file" -d "$unpacked"
}

case $check in
  make) makes_and_unpacks ;;
  members) members_are_exactly_the_eight ;;
  checksums) checksums_hold ;;
  install-guide) install_guide_is_crlf_text ;;
  x64-module) module_is x64 x86_64-w64-mingw32-objdump ;;
  x86-module) module_is x86 i686-w64-mingw32-objdump ;;
  arm64-module) module_is ARM64 "$(command -v llvm-objdump || command -v llvm-objdump-14)" ;;
  x64-host-plays) reference_host_plays win64 x64/ZEM_Variations.8li ;;
  x86-host-plays) needs_x86 && reference_host_plays win32 x86/ZEM_Variations.8li ;;
  x64-host-refuses-x86)
    reference_host_refuses win64 x86/ZEM_Variations.8li "is an x86 (32-bit) module, and this reference host is x64" ;;
  x64-host-refuses-arm64)
    reference_host_refuses win64 arm64/ZEM_Variations.8li "is an ARM64 (64-bit) module, and this reference host is x64" ;;
  x86-host-refuses-x64)
    needs_x86 &&
      reference_host_refuses win32 x64/ZEM_Variations.8li "is an x64 (64-bit) module, and this reference host is x86" ;;
  setup-listed) setup_is_listed ;;
  setup-is-x64-program) setup_is_x64_program ;;
  plugin-builds-alone) plugin_builds_alone ;;
  same-zip-again) same_zip_again ;;
  *) echo "check-package: no check named '$check'" >&2; exit 2 ;;
esac

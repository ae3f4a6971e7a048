#!/usr/bin/env bash
# Checks the release package as a user would after downloading it: unpacked into an empty folder,
# its checksums verified, each module of the right architecture with the right exports, and the
# reference host of each architecture run on the unpacked module and action set; the setup beside
# it installed and removed under Wine (tests/installer/check-installer.sh). The x64 module
# built again alone, in a folder of its own, must be the packaged one byte for byte, and packaging
# again must give the same zip and the same setup.
# Ends with one line "package: N passed, N failed, N skipped".
#   bash tests/package/check-package.sh [--builds DIR]
# The package is made from the release builds DIR/win32, DIR/win64 and DIR/arm64 when given (the
# test command's), and in build/package otherwise. Nothing here runs the ARM64 module: it is read.
# On a machine that runs no 32-bit programs the x86 reference host is not run: those checks are
# skipped, with the reason.
set -uo pipefail
cd "$(dirname "$0")/../.."

package_options=("$@")
builds=build/package
[ "${1:-}" = "--builds" ] && builds=$2
x86_skip_reason=${ZEM_X86_SKIP_REASON-$(tools/runs-32bit-programs.sh)}

passed=0
failed=0
skipped=0
check() {
  local what=$1
  shift
  if "$@" >"$work/last.log" 2>&1; then
    echo "ok     $what"
    passed=$((passed + 1))
  else
    echo "FAILED $what"
    sed 's/^/       /' "$work/last.log" | tail -n 20
    failed=$((failed + 1))
  fi
}
# A check of the x86 reference host: run only where this machine runs 32-bit programs.
check_x86() {
  if [ -n "$x86_skip_reason" ]; then
    echo "skip   $1 ($x86_skip_reason)"
    skipped=$((skipped + 1))
  else
    check "$@"
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

version=$(sed -n 's/^project(ZEM_Variations VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
zip_file=build/package/ZEM_Variations-$version-windows.zip
setup_file=build/package/ZEM_Variations-$version-setup.exe
unpacked=$work/unpacked

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
setup_is_x64_program() { x86_64-w64-mingw32-objdump -f "$setup_file" | grep -q 'file format pei-x86-64'; }
# Each check of the setup under Wine (tests/installer/check-installer.sh), counted as one here.
installer_checks() {
  local name status
  for name in $(bash tests/installer/check-installer.sh --list); do
    bash tests/installer/check-installer.sh "$setup_file" "$builds/win64" --check "$name" >"$work/last.log" 2>&1
    status=$?
    if [ $status -eq 0 ]; then
      echo "ok     setup: $name"
      passed=$((passed + 1))
    elif [ $status -eq 77 ]; then
      echo "skip   setup: $name ($(tail -n 1 "$work/last.log"))"
      skipped=$((skipped + 1))
    else
      echo "FAILED setup: $name"
      sed 's/^/       /' "$work/last.log" | tail -n 25
      failed=$((failed + 1))
    fi
  done
}

check "tools/package.sh builds the package" tools/package.sh "${package_options[@]}"
check "$zip_file holds exactly its eight members, the action set beside each module" members_are_exactly_the_eight
mkdir -p "$unpacked"
check "it unpacks into an empty folder" unzip -q "$zip_file" -d "$unpacked"
check "SHA256SUMS matches every file" checksums_hold
check "INSTALL.txt is CR LF text for version $version with the scripting example" install_guide_is_crlf_text
check "x64/ZEM_Variations.8li is an x64 module exporting AutoPluginMain and GenericProc" \
  module_is x64 x86_64-w64-mingw32-objdump
check "x86/ZEM_Variations.8li is an x86 module exporting AutoPluginMain and _GenericProc@16" \
  module_is x86 i686-w64-mingw32-objdump
check "arm64/ZEM_Variations.8li is an ARM64 module exporting AutoPluginMain and GenericProc" \
  module_is ARM64 "$(command -v llvm-objdump || command -v llvm-objdump-14)"
check "the x64 reference host and its Wine prefix build" \
  cmake --build "$builds/win64" --target hostsim_program wine_prefix
check_x86 "the x86 reference host and its Wine prefix build" \
  cmake --build "$builds/win32" --target hostsim_program wine_prefix
check "build/package/SHA256SUMS lists the zip and the setup, and both match" setup_is_listed
check "${setup_file##*/} is an x64 Windows program" setup_is_x64_program
installer_checks
check "the x64 reference host, with no set loaded, runs the unpacked x64 module, which loads the set beside it" \
  reference_host_plays win64 x64/ZEM_Variations.8li
check_x86 "the x86 reference host, with no set loaded, runs the unpacked x86 module, which loads the set beside it" \
  reference_host_plays win32 x86/ZEM_Variations.8li
check "the x64 reference host refuses the x86 module, naming both" \
  reference_host_refuses win64 x86/ZEM_Variations.8li "is an x86 (32-bit) module, and this reference host is x64"
check "the x64 reference host refuses the ARM64 module, naming both" \
  reference_host_refuses win64 arm64/ZEM_Variations.8li "is an ARM64 (64-bit) module, and this reference host is x64"
check_x86 "the x86 reference host refuses the x64 module, naming both" \
  reference_host_refuses win32 x64/ZEM_Variations.8li "is an x64 (64-bit) module, and this reference host is x86"
check "the x64 plug-in configures and builds alone, without image headers or test libraries, as packaged" \
  plugin_builds_alone
check "packaging again gives the same zip and the same setup" same_zip_again

echo "package: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]

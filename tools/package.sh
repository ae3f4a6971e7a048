#!/usr/bin/env bash
# Builds the release package: the three modules and the action set in release mode, in build
# folders of their own (build/package/win32, build/package/win64, build/package/arm64), and writes
# build/package/ZEM_Variations-VERSION-windows.zip holding x64/ZEM_Variations.8li,
# x86/ZEM_Variations.8li, arm64/ZEM_Variations.8li, the action set ZEM_Variations.atn beside each
# module (so that one architecture's folder is the whole installation), INSTALL.txt (CR LF) and
# SHA256SUMS; beside it the setup ZEM_Variations-VERSION-setup.exe (installer/ZEM_Variations.nsi,
# from the same staged files), and SHA256SUMS of the two.
#   bash tools/package.sh [--builds DIR]
# --builds DIR takes the modules from the release builds DIR/win32, DIR/win64 and DIR/arm64 instead
# (the test command's, which are built already); only the modules are linked again there.
#
# Built twice from the same commit, the zip is the same byte for byte: the modules are stamped
# with the commit's time (SOURCE_DATE_EPOCH) instead of the build's (by GNU ld for x86 and x64,
# after linking for ARM64: cmake/zig/stamp-module.sh), and the members are
# stored in a fixed order with the commit's time, fixed permissions and no extra attributes. The
# setup stores each file with its time, the staged one's, so the commit's; makensis writes no
# time of its own (the PE header keeps its stub's), so nothing else needs pinning for a given
# version of Debian's nsis.
# The version is the one of project(... VERSION ...) in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

builds=build/package
if [ "${1:-}" = "--builds" ]; then
  builds=${2:?--builds needs a folder holding the win32, win64 and arm64 builds}
elif [ $# -gt 0 ]; then
  echo "package: unknown option '$1'; the one option is --builds DIR" >&2
  exit 2
fi

version=$(sed -n 's/^project(ZEM_Variations VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no project version in CMakeLists.txt" >&2; exit 1; }
if ! SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
  echo "package: not a git checkout, so no commit time to stamp the package with" >&2
  exit 1
fi
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "package: note: the work tree has uncommitted changes; the package holds them but carries the last commit's time"
fi

root=build/package
mkdir -p $root
for build in win32 win64 arm64; do
  if [ "$builds" = "$root" ] || [ ! -f "$builds/$build/CMakeCache.txt" ]; then
    cmake --preset $build -B "$builds/$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  # Linked again whatever time it was linked with before, so that it carries the commit's.
  rm -f "$builds/$build/bin/ZEM_Variations.8li"
  targets=(ZEM_Variations)
  [ $build = arm64 ] || targets+=(zem_action_set)  # the action set is the same in every build
  cmake --build "$builds/$build" --target "${targets[@]}"
done

stage=$root/stage
rm -rf "$stage"
mkdir -p "$stage/x64" "$stage/x86" "$stage/arm64"
cp "$builds/win64/bin/ZEM_Variations.8li" "$stage/x64/"
cp "$builds/win32/bin/ZEM_Variations.8li" "$stage/x86/"
cp "$builds/arm64/bin/ZEM_Variations.8li" "$stage/arm64/"
for arch in x64 x86 arm64; do cp "$builds/win64/bin/ZEM_Variations.atn" "$stage/$arch/"; done
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' release/INSTALL.txt >"$stage/INSTALL.txt"
members=(INSTALL.txt x64/ZEM_Variations.8li x64/ZEM_Variations.atn x86/ZEM_Variations.8li x86/ZEM_Variations.atn
  arm64/ZEM_Variations.8li arm64/ZEM_Variations.atn)
(cd "$stage" && sha256sum "${members[@]}" >SHA256SUMS)
members+=(SHA256SUMS)

chmod 644 "${members[@]/#/$stage/}"
chmod 755 "$stage/x64" "$stage/x86" "$stage/arm64"
touch -d "@$SOURCE_DATE_EPOCH" "${members[@]/#/$stage/}" "$stage/x64" "$stage/x86" "$stage/arm64"
zip_file=$root/ZEM_Variations-$version-windows.zip
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -q -X -D -9 "../${zip_file##*/}" "${members[@]}")

setup_file=$root/ZEM_Variations-$version-setup.exe
rm -f "$setup_file"
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath "$root")/${setup_file##*/}" \
  installer/ZEM_Variations.nsi
(cd "$root" && sha256sum "${zip_file##*/}" "${setup_file##*/}" >SHA256SUMS)

echo "wrote $zip_file ($(stat -c %s "$zip_file") bytes):"
(cd "$stage" && for member in "${members[@]}"; do printf '  %-26s %8d bytes\n' "$member" "$(stat -c %s "$member")"; done)
echo "wrote $setup_file ($(stat -c %s "$setup_file") bytes)"
echo "wrote $root/SHA256SUMS:"
sed 's/^/  /' "$root/SHA256SUMS"

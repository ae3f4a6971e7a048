#!/usr/bin/env bash
# Measures what a "Do It" costs and prints one table:
#   - host calls per "Do It" in every mode, by kind, with the least the behaviour needs in
#     brackets, and the host allocations (target 0), from the host model's own counts;
#   - the instructions per "Do It" under callgrind (repeatable, unlike time), split into the
#     plug-in's share and the host model's, and the plug-in's per host call;
#   - the built .8li's size and imports, and its load and unload under Wine against an empty DLL
#     built the same way, measured in the same run;
#   - then a second table: the reference host's eighteen adjustment events on a 12-megapixel
#     image against ImageMagick's convert on the same image, and the peak memory
#     (bench/AdjustCost.cpp says what is compared).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
if ! command -v valgrind >/dev/null; then
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends valgrind
fi
# Debian's ImageMagick itself, not whatever else is called convert earlier on the PATH.
convert=/usr/bin/convert
if [ ! -x "$convert" ]; then
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends imagemagick
fi

cmake --preset bench >/dev/null && cmake --build --preset bench --target run_cost adjust_cost >/dev/null
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target ZEM_Variations load_unload wine_prefix >/dev/null

modes=(1 2 3 4 5 6 7 0)
repeat=10
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build/bench/run_cost | tee "$work/calls" | grep -v '^| result'

# Exclusive instructions inside AutoPluginMain, by function: the plug-in's own functions (zem::
# and the entry point) against everything else, which is the host model and the runtime it uses.
plugin_row="| plug-in instructions per \"Do It\" |"
host_row="| host-model instructions per \"Do It\" |"
per_call_row="| plug-in instructions per host call |"
column=3
for mode in "${modes[@]}"; do
  valgrind --tool=callgrind --toggle-collect=AutoPluginMain --callgrind-out-file="$work/cg.$mode" \
    build/bench/run_cost --repeat "$repeat" --mode "$mode" >/dev/null 2>&1
  read -r plugin host < <(callgrind_annotate --auto=no --inclusive=no --threshold=100 "$work/cg.$mode" 2>/dev/null | awk '
    /^ *[0-9,]+ \(/ && !/=>/ && !/PROGRAM TOTALS/ {
      count = $1; gsub(",", "", count)
      symbol = $0; sub(/^ *[0-9,]+ \([^)]*\) +/, "", symbol); sub(/^[^:]*:/, "", symbol)
      if (symbol ~ /^zem::/ || symbol ~ /^AutoPluginMain/) plugin += count; else host += count
    }
    END { printf "%d %d\n", plugin, host }')
  calls=$(grep '^| \*\*all' "$work/calls" | awk -F'|' -v c="$column" '{ gsub(/[^0-9 ]/, "", $c); split($c, n, " "); print n[1] }')
  plugin_row+=" $((plugin / repeat)) |"
  host_row+=" $((host / repeat)) |"
  per_call_row+=" $(awk -v p="$plugin" -v r="$repeat" -v c="$calls" 'BEGIN { printf "%.1f", p / r / c }') |"
  column=$((column + 1))
done
echo "$plugin_row"
echo "$host_row"
echo "$per_call_row"

blank=$(printf ' |%.0s' "${modes[@]:1}")
module=build/win32/bin/ZEM_Variations.8li
imports=$(i686-w64-mingw32-objdump -p "$module" | sed -n 's/.*DLL Name: //p' | paste -sd, - | sed 's/,/, /g')
echo "| .8li size | $(stat -c %s "$module") bytes |$blank"
echo "| .8li imports | $imports |$blank"
read -r plugin_us empty_us ratio < <(WINEPREFIX="$PWD/build/win32/wineprefix" WINEDEBUG=-all \
  wine build/win32/bin/load_unload.exe 5 200 2>/dev/null | tr -d '\r')
echo "| load + unload under Wine | ${plugin_us} µs, ${ratio} × an empty DLL (${empty_us} µs) |$blank"

echo
build/bench/adjust_cost --convert "$convert"

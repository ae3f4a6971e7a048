#!/usr/bin/env bash
# First what a user waits for: the reference host's whole run, hostsim.exe (x64) under Wine on a
# generated 12-megapixel photo, against ImageMagick's whole `convert IN.png -modulate 110 OUT.png`
# on the same file, in turns in one run, best of 3: the ratio, each part's share and the peak
# memory (bench/WholeRun.cpp says what is measured); with ZEM_BENCH_SCALING=1 also how the run
# grows from 0.5 to 48 megapixels.
# Then what a "Do It" costs, in one table:
#   - host calls per "Do It" in every mode, by kind, with the least the behaviour needs in
#     brackets, and the host allocations (target 0), from the host model's own counts;
#   - the instructions per "Do It" under callgrind (repeatable, unlike time), split into the
#     plug-in's share and the host model's, and the plug-in's per host call;
#   - the same host calls and allocations made through each built module, x86 and x64 (the same
#     code, so the same figures);
#   - each built .8li's size and imports, and its load and unload under Wine against an empty DLL
#     of the same architecture built the same way, measured in the same run;
#   - then the breakdown of the pixel work: the reference host's eighteen adjustment events one
#     by one on a 12-megapixel image, on one thread, with the selections, thumbnails and contact
#     sheet around them, against ImageMagick's convert (bench/AdjustCost.cpp says what is compared).
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

cmake --preset bench >/dev/null && cmake --build --preset bench --target run_cost adjust_cost whole_run preview_cost >/dev/null
for build in win32 win64; do
  cmake --preset $build >/dev/null
  cmake --build --preset $build --target ZEM_Variations load_unload module_calls hostsim_program >/dev/null
done

build/bench/whole_run --runner build/win64/wine-run.sh --hostsim build/win64/bin/hostsim.exe --convert "$convert"
if [ "${ZEM_BENCH_SCALING:-0}" = 1 ]; then
  echo
  build/bench/whole_run --runner build/win64/wine-run.sh --hostsim build/win64/bin/hostsim.exe --convert "$convert" \
    --scaling --repeat 2
fi
echo

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
module_rows=()
for arch in x86 x64; do
  case $arch in
    x86) build=win32 objdump=i686-w64-mingw32-objdump ;;
    x64) build=win64 objdump=x86_64-w64-mingw32-objdump ;;
  esac
  build/$build/wine-run.sh build/$build/bin/module_calls.exe 2>/dev/null | tr -d '\r' >"$work/module.$arch"
  calls_row="| host calls through the $arch module |"
  allocations_row="| host allocations through the $arch module |"
  for mode in "${modes[@]}"; do
    read -r _ calls allocations result < <(awk -v m="$mode" '$1 == m' "$work/module.$arch")
    [ "$result" = 0 ] || { echo "the $arch module failed mode $mode with $result" >&2; exit 1; }
    calls_row+=" $calls |"
    allocations_row+=" $allocations |"
  done
  echo "$calls_row"
  echo "$allocations_row"

  module=build/$build/bin/ZEM_Variations.8li
  imports=$($objdump -p "$module" | sed -n 's/.*DLL Name: //p' | paste -sd, - | sed 's/,/, /g')
  read -r plugin_us empty_us ratio < <(build/$build/wine-run.sh build/$build/bin/load_unload.exe 5 200 2>/dev/null |
    tr -d '\r')
  module_rows+=("| $arch .8li size | $(stat -c %s "$module") bytes |$blank")
  module_rows+=("| $arch .8li imports | $imports |$blank")
  module_rows+=("| $arch load + unload under Wine | ${plugin_us} µs, ${ratio} × an empty $arch DLL (${empty_us} µs) |$blank")
done
printf '%s\n' "${module_rows[@]}"

echo
build/bench/adjust_cost --convert "$convert"

# Previewing a set of 50 recorded actions on a 12-megapixel photo: natively on one thread, then
# the whole hostsim.exe process under Wine on the same set and photo (goal: within 30 s).
echo
build/bench/preview_cost --actions 50
input=$(mktemp -d)
build/bench/preview_cost --actions 50 --save "$input" >/dev/null
/usr/bin/time -f "hostsim.exe --actions recipes.atn (50 actions, 12 MP) under Wine: %e s (CPU %U s user, %S s system), peak %M kB" \
  build/win64/wine-run.sh build/win64/bin/hostsim.exe --actions "Z:$input/recipes.atn" --image "Z:$input/photo.png" \
  --out "Z:$input/out" >/dev/null 2>"$input/time.txt"; tail -1 "$input/time.txt"
rm -rf "$input"

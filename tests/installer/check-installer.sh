#!/usr/bin/env bash
# Checks the setup under the 64-bit Wine, each check in a fresh win64 prefix of its own: a copy of a
# prefix this script boots once under BUILD/installer-tests (never one a build made or a test used).
# The server is not kept running as the other tests' is: the uninstaller ends by running a copy of
# itself, which only the server's exit shows to be done.
#   check-installer.sh SETUP BUILD [--check NAME]
# SETUP is ZEM_Variations-VERSION-setup.exe; BUILD the win64 build whose reference host
# (bin/hostsim.exe) runs the installed module and whose bin/ZEM_Variations.atn the installed set
# must equal. Every check prints one line ("ok", "FAILED" with its log, or "skip" with why) and the
# run ends with "installer: N passed, N failed, N skipped"; it exits 1 when one failed.
# --check NAME runs that check alone: exit 0 passed, 1 failed, 77 skipped. --list names them.
set -uo pipefail
cd "$(dirname "$0")/../.."

checks=(arch-x64 arch-arm64-pretend fresh-install fresh-uninstall photoshop-install photoshop-reference-host
  photoshop-uninstall install-over-earlier directory-override)

if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${checks[@]}"
  exit 0
fi
setup=$(realpath "${1:?the setup program}")
build=$(realpath "${2:?the win64 build folder}")
only=
if [ "${3:-}" = "--check" ]; then
  only=${4:?--check needs a name}
  [[ " ${checks[*]} " == *" $only "* ]] || { echo "installer: no check '$only'" >&2; exit 2; }
fi

wine64=/usr/lib/wine/wine64
root=$build/installer-tests
template=$root/template
version=$(sed -n 's/^project(ZEM_Variations VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEM_Variations'
shared='drive_c/Program Files/Common Files/Adobe/Plug-Ins/CC/ZEM_Variations'
uninstaller='C:\Program Files\ZEM_Variations\uninstall.exe'

# The prefix every check copies: booted with windows unmanaged, as the project's test prefixes are.
make_template() {
  [ -f "$template.ready" ] && return 0
  rm -rf "$template" "$template.ready"
  mkdir -p "$root"
  (
    export WINEPREFIX=$template WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$wine64" wineboot -i >/dev/null 2>&1
    "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  ) && touch "$template.ready"
}

# Within one check: its prefix, and Wine pointed at it.
begin_prefix() {
  prefix=$root/prefix-$1
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
end_prefix() {
  wineserver -w
  rm -rf "$prefix"
}
run() { "$wine64" "$@" </dev/null 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The uninstaller returns before its work is done (it runs a copy of itself): waiting for the
# server to end waits for every program of the prefix.
install() { run "$setup" /S "$@" && wineserver -w; }
uninstall() { run "$uninstaller" /S && wineserver -w; }

# The PE machine of a module: 8664, 014c or aa64.
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
expect_module() {
  local folder=$1 machine=$2 actual
  [ -f "$folder/ZEM_Variations.8li" ] || { echo "no module in $folder"; return 1; }
  actual=$(pe_machine "$folder/ZEM_Variations.8li")
  [ "$actual" = "$machine" ] || { echo "the module in $folder is for machine $actual, not $machine"; return 1; }
  cmp "$folder/ZEM_Variations.atn" "$build/bin/ZEM_Variations.atn" || { echo "no action set beside $folder's module"; return 1; }
  local others
  others=$(find "$folder" -mindepth 1 ! -name ZEM_Variations.8li ! -name ZEM_Variations.atn)
  [ -z "$others" ] || { echo "more in $folder than the module and the set: $others"; return 1; }
}
# What a user sees of the prefix: its files and folders, Wine's own and the temporary ones aside.
snapshot() {
  (cd "$prefix/drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort)
}
key_is_gone() {
  ! run reg query "$uninstall_key" >/dev/null && ! run reg query "$uninstall_key" /reg:32 >/dev/null
}

# Made-up Photoshops: 2024 (x64, 64-bit view, a trailing backslash), CS6 (x86, 32-bit view, its
# plug-in folder as the PluginPath subkey's default), and a key left by a CC that is gone.
add_photoshops() {
  mkdir -p "$prefix/drive_c/Program Files/Adobe/Adobe Photoshop 2024/Plug-ins" \
    "$prefix/drive_c/Program Files (x86)/Adobe/Adobe Photoshop CS6/Plug-ins"
  cat >"$prefix/photoshops.reg" <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Photoshop\180.0]
"ApplicationPath"="C:\\Program Files\\Adobe\\Adobe Photoshop 2024\\"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Adobe\Photoshop\60.0]
"ApplicationPath"="C:\\Program Files (x86)\\Adobe\\Adobe Photoshop CS6"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Adobe\Photoshop\60.0\PluginPath]
@="C:\\Program Files (x86)\\Adobe\\Adobe Photoshop CS6\\Plug-ins\\"

[HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Photoshop\70.0]
"ApplicationPath"="C:\\Program Files\\Adobe\\Adobe Photoshop CC\\"
EOF
  run regedit /S 'Z:'"${prefix//\//\\}"'\photoshops.reg' && wineserver -w
}
cs6_folder() { echo "$prefix/drive_c/Program Files (x86)/Adobe/Adobe Photoshop CS6/Plug-ins/ZEM_Variations"; }

check_arch_x64() {
  install && expect_module "$prefix/$shared" 8664
}
check_arch_arm64_pretend() {
  install /TEST-PRETEND-ARM64 && expect_module "$prefix/$shared" aa64
}
check_fresh_install() {
  local before after entry
  before=$(snapshot)
  install || return 1
  expect_module "$prefix/$shared" 8664 || return 1
  [ -f "$prefix/drive_c/Program Files/ZEM_Variations/uninstall.exe" ] || { echo "no uninstaller"; return 1; }
  after=$(snapshot)
  # Only the shared folder with its parents and the uninstaller's folder are new.
  diff <(echo "$before") <(echo "$after") | sed -n 's/^> //p' >"$prefix/new.txt"
  diff "$prefix/new.txt" - <<'EOF' || { echo "new in the prefix, other than expected: see above"; return 1; }
./Program Files/Common Files/Adobe
./Program Files/Common Files/Adobe/Plug-Ins
./Program Files/Common Files/Adobe/Plug-Ins/CC
./Program Files/Common Files/Adobe/Plug-Ins/CC/ZEM_Variations
./Program Files/Common Files/Adobe/Plug-Ins/CC/ZEM_Variations/ZEM_Variations.8li
./Program Files/Common Files/Adobe/Plug-Ins/CC/ZEM_Variations/ZEM_Variations.atn
./Program Files/ZEM_Variations
./Program Files/ZEM_Variations/uninstall.exe
EOF
  entry=$(run reg query "$uninstall_key") || { echo "no entry in Apps & features"; return 1; }
  echo "$entry"
  grep -Eq "DisplayVersion +REG_SZ +$version\$" <<<"$entry" && grep -Eq 'Publisher +REG_SZ +.' <<<"$entry" &&
    grep -Eq 'EstimatedSize +REG_DWORD +0x[1-9a-f]' <<<"$entry" &&
    grep -Fq 'UninstallString    REG_SZ    "C:\Program Files\ZEM_Variations\uninstall.exe"' <<<"$entry"
}
check_fresh_uninstall() {
  local before
  before=$(snapshot)
  install && uninstall || return 1
  diff <(echo "$before") <(snapshot) || { echo "left behind or removed: see above"; return 1; }
  key_is_gone || { echo "the uninstall key is still there"; return 1; }
}
check_photoshop_install() {
  add_photoshops && install || return 1
  expect_module "$prefix/$shared" 8664 || return 1
  expect_module "$(cs6_folder)" 014c || return 1
  local ps2024="$prefix/drive_c/Program Files/Adobe/Adobe Photoshop 2024/Plug-ins"
  [ -z "$(ls -A "$ps2024")" ] || { echo "Photoshop 2024 reads the shared folder, yet its own got: $(ls "$ps2024")"; return 1; }
  [ ! -e "$prefix/drive_c/Program Files (x86)/Common Files/Adobe" ] || { echo "the 32-bit shared folder was made"; return 1; }
  [ ! -e "$prefix/drive_c/Program Files/Adobe/Adobe Photoshop CC" ] || { echo "a Photoshop that is gone got a folder"; return 1; }
}
check_photoshop_reference_host() {
  local out=$prefix/out log=$prefix/run.log
  add_photoshops && install || return 1
  run "$build/bin/hostsim.exe" --plugin 'C:\Program Files\Common Files\Adobe\Plug-Ins\CC\ZEM_Variations\ZEM_Variations.8li' \
    --no-action-set --mode 4 --out 'Z:'"${out//\//\\}" | tee "$log"
  grep -q "loaded from the plug-in's folder: .*Plug-Ins.CC.ZEM_Variations.ZEM_Variations.atn" "$log" &&
    grep -q '18 of 18 actions of .*ZEM_Variations.atn played, plug-in result 0' "$log" &&
    grep -q '^history: 1 state, ZEM_Variations' "$log" && [ -s "$out/contact-sheet.png" ]
}
check_photoshop_uninstall() {
  local before
  add_photoshops || return 1
  before=$(snapshot)
  install || return 1
  # A file the user put into the plug-in's folder stays, and so does the folder holding it.
  echo mine >"$prefix/$shared/notes.txt"
  uninstall || return 1
  diff <(echo "$before") <(snapshot | grep -v 'Plug-Ins/CC/ZEM_Variations/notes.txt$' |
    grep -vx -e './Program Files/Common Files/Adobe' -e './Program Files/Common Files/Adobe/Plug-Ins' \
      -e './Program Files/Common Files/Adobe/Plug-Ins/CC' -e './Program Files/Common Files/Adobe/Plug-Ins/CC/ZEM_Variations') ||
    { echo "left behind or removed: see above"; return 1; }
  [ "$(cat "$prefix/$shared/notes.txt")" = mine ] || { echo "the user's file is gone"; return 1; }
  [ "$(ls -A "$prefix/$shared")" = notes.txt ] || { echo "left in the shared folder: $(ls -A "$prefix/$shared")"; return 1; }
  [ ! -e "$(cs6_folder)" ] || { echo "CS6's plug-in folder still holds ZEM_Variations"; return 1; }
  key_is_gone || { echo "the uninstall key is still there"; return 1; }
  run reg query 'HKLM\SOFTWARE\Wow6432Node\Adobe\Photoshop\60.0\PluginPath' >/dev/null || { echo "Photoshop's own keys went"; return 1; }
}
check_install_over_earlier() {
  local before
  add_photoshops || return 1
  before=$(snapshot)
  install && install || return 1
  expect_module "$prefix/$shared" 8664 && expect_module "$(cs6_folder)" 014c || return 1
  # The earlier installation's uninstaller ran first: the folders it made are recorded again.
  uninstall || return 1
  diff <(echo "$before") <(snapshot) || { echo "left behind or removed: see above"; return 1; }
  key_is_gone || { echo "the uninstall key is still there"; return 1; }
}
check_directory_override() {
  local before
  before=$(snapshot)
  install '/D=C:\PluginsForTests\ZEM_Variations' || return 1
  expect_module "$prefix/drive_c/PluginsForTests/ZEM_Variations" 8664 || return 1
  [ ! -e "$prefix/$shared" ] || { echo "the shared folder was used as well"; return 1; }
  uninstall && diff <(echo "$before") <(snapshot) || { echo "left behind or removed: see above"; return 1; }
}

# Runs one check in its own prefix: 0 passed, 1 failed, 77 skipped.
run_check() {
  local name=$1 log=$root/$1.log
  if ! command -v "$wine64" >/dev/null || [ ! -x "$wine64" ]; then
    echo "skip   $name (no 64-bit Wine at $wine64)"
    return 77
  fi
  make_template || { echo "FAILED $name (the template prefix could not be made)"; return 1; }
  begin_prefix "$name"
  local started=$SECONDS status=0
  "check_${name//-/_}" >"$log" 2>&1 || status=1
  end_prefix
  if [ $status -eq 0 ]; then
    echo "ok     $name ($((SECONDS - started)) s)"
  else
    echo "FAILED $name"
    sed 's/^/       /' "$log" | tail -n 25
  fi
  return $status
}

[ -f "$setup" ] || { echo "installer: no setup at $setup" >&2; exit 2; }
if [ -n "$only" ]; then
  run_check "$only"
  exit $?
fi
passed=0 failed=0 skipped=0
for name in "${checks[@]}"; do
  run_check "$name"
  case $? in
    0) passed=$((passed + 1)) ;;
    77) skipped=$((skipped + 1)) ;;
    *) failed=$((failed + 1)) ;;
  esac
done
echo "installer: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]

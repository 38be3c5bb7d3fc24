#!/usr/bin/env bash
# Silent install and uninstall of the 64-bit setup under Wine, in a fresh
# prefix copied from a template:
#   1. a fresh install puts the program, shortcut and uninstall entry in place
#      and the installed program starts;
#   2. the silent uninstaller (run in place) ends the running program, removes
#      files, shortcut, autostart values and uninstall entry, keeps settings;
#   3. setup over a running installed copy replaces it;
#   4. the ordinary uninstall (which goes on from a copy of itself in %TEMP%)
#      removes the folder and leaves another copy of Vantisk and its autostart alone.
#
#   installer_roundtrip.sh <64-bit build dir> <setup.exe> <version>
#
# Builds the setup first (target package_installer). Uses $DISPLAY, or a
# private Xvfb when there is none.
set -uo pipefail

say() { echo "installer_roundtrip: $*" >&2; }
die() { say "$*"; exit 2; }
now() { date +%s.%N; }
since() { awk -v start="$1" -v end="$(now)" 'BEGIN { printf "%.1f", end - start }'; }

[[ $# -eq 3 ]] || die "usage: $0 <build dir> <setup.exe> <version>"
build_dir=$(cd "$1" && pwd) || die "no build directory $1"
installer=$2
version=$3
# WINE and WINESERVER name them where they are not on PATH.
wine=${WINE:-$(command -v wine64 || command -v wine)} || die "Wine not found: put it on PATH or set WINE"
wineserver=${WINESERVER:-$(command -v wineserver)} || die "wineserver not found: put it on PATH or set WINESERVER"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

prefix=
pids=()
cleanup() {
  trap - EXIT INT TERM HUP
  [[ ${#pids[@]} -gt 0 ]] && kill "${pids[@]}" 2>/dev/null
  if [[ -n "$prefix" ]]; then
    WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
    WINEPREFIX="$prefix" timeout 10 "$wineserver" -w 2>/dev/null
    rm -rf "$prefix"
  fi
  return 0
}
[[ -n "${DISPLAY:-}" ]] || die "DISPLAY is not set: Wine needs an X display (run it under xvfb-run -a)"
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'say "stopped: out of time or terminated"; exit 143' TERM
[[ -n "${DISPLAY:-}" ]] || die "DISPLAY is not set; Wine needs an X display"

start=$(now)
log="$build_dir/packaging/roundtrip-build.log"
mkdir -p "$build_dir/packaging"
cmake --build "$build_dir" --target package_installer >"$log" 2>&1 || { cat "$log" >&2; die "building the setup failed"; }
[[ -f "$installer" ]] || die "the build did not write $installer"
built_exe="$build_dir/Vantisk.exe"
say "setup built in $(since "$start") s"

# --- a fresh prefix, copied from a template made once per build dir ----------
start=$(now)
template="$build_dir/packaging/wine-template"
stamp="$template/.vantisk-template"
wine_version=$("$wine" --version)
find "$build_dir/packaging" -maxdepth 1 -name 'wine-run.*' -mmin +240 -exec rm -rf {} + 2>/dev/null
exec 9>"$template.lock"
flock -w 200 9 || die "gave up waiting for $template.lock"
if [[ "$(cat "$stamp" 2>/dev/null)" != "$wine_version" ]]; then
  rm -rf "$template.new" "$template"
  WINEPREFIX="$template.new" timeout 120 "$wine" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$template.new" timeout 20 "$wine" reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPREFIX="$template.new" timeout 60 "$wineserver" -w
  [[ -f "$template.new/system.reg" ]] || die "wineboot did not create a prefix"
  echo "$wine_version" >"$template.new/.vantisk-template" && mv "$template.new" "$template"
  say "template prefix created in $(since "$start") s"
  start=$(now)
fi
prefix=$(mktemp -d "$build_dir/packaging/wine-run.XXXXXX") || die "mktemp failed"
cp -a "$template/." "$prefix/" || die "could not copy the template"
exec 9>&-
export WINEPREFIX="$prefix"
# Started on its own, so that it holds no output pipe of a later command.
"$wineserver" -p 30 >/dev/null 2>&1 </dev/null
say "prefix ready in $(since "$start") s"
# A Wine command that hangs must not outlast ctest's limit (300 s): ending
# the server ends every Wine command of this prefix.
(
  trap 'kill "$nap" 2>/dev/null; exit 0' TERM
  sleep $((270 - SECONDS)) &
  nap=$!
  wait "$nap" || exit 0
  "$wineserver" -k
  kill -TERM $$
) </dev/null >/dev/null 2>&1 &
pids+=($!)

# --- helpers ---------------------------------------------------------------
w() { local limit=$1; shift; timeout --kill-after=5 "$limit" "$wine" "$@"; }
reg_value() {  # KEY NAME: prints the data; fails when the value is missing
  local out
  out=$(w 20 reg query "$1" /v "$2" 2>/dev/null) || return 1
  printf '%s\n' "$out" | tr -d '\r' | sed -n "s/^    $2    REG_[A-Z_]*    //p" | head -n 1
}
has_value() { reg_value "$1" "$2" >/dev/null; }
has_key() { w 20 reg query "$1" >/dev/null 2>&1; }
reg_set() { w 20 reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
unix_path() { local path=${1#[Cc]:}; printf '%s/drive_c%s\n' "$prefix" "${path//\\//}"; }
running() { local s; s=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) && [[ -n "$s" && "$s" != Z ]]; }
not() { ! "$@"; }
wait_until() {  # SECONDS COMMAND...
  local end=$((SECONDS + $1)); shift
  until "$@"; do [[ $SECONDS -lt $end ]] || return 1; sleep 0.2; done
}
# Starts the exe, then waits until its start-up wrote the hotkey letter,
# which it does at every start.
start_ready() {
  w 20 reg delete 'HKCU\Software\Vantisk\default' /v key /f >/dev/null 2>&1
  "$wine" "$1" >>"$prefix/programs.log" 2>&1 </dev/null &
  pids+=($!)
  started=$!
  wait_until 10 has_value 'HKCU\Software\Vantisk\default' key
}

failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "  ok    $what"; else echo "  FAIL  $what"; failures=$((failures + 1)); fi
}
equals() { [[ "$1" == "$2" ]] || { echo "        got '$1', want '$2'"; return 1; }; }
require() { [[ $failures -eq 0 ]] || die "stopping: $failures check(s) failed"; }
phase_start=
phase() {
  [[ -n "$phase_start" ]] && echo "  ($(since "$phase_start") s)"
  phase_start=$(now)
  [[ $# -gt 0 ]] && echo "== $*"
}

# --- where things go -------------------------------------------------------
paths=$(w 30 cmd /c 'echo %LOCALAPPDATA%^|%APPDATA%' 2>/dev/null | tr -d '\r')
[[ "$paths" == [Cc]:\\*\|[Cc]:\\* ]] || die "could not read %LOCALAPPDATA% and %APPDATA% (got '$paths')"
inst_win="${paths%%|*}\\Programs\\Vantisk"
exe_win="$inst_win\\Vantisk.exe"
inst=$(unix_path "$inst_win")
shortcut=$(unix_path "${paths#*|}\\Microsoft\\Windows\\Start Menu\\Programs\\Vantisk.lnk")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantisk'
hkcu_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
hklm_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
hklm_parked='HKLM\Software\Microsoft\Windows\CurrentVersion\Run-'
total_start=$(now)

phase "fresh silent install"
w 60 "$installer" /S
check "setup /S exits with 0" equals "$?" 0
check "Vantisk.exe is the built program, in $inst_win" cmp -s "$built_exe" "$inst/Vantisk.exe"
check "README.txt and Uninstall.exe beside it" test -f "$inst/README.txt" -a -f "$inst/Uninstall.exe"
check "Start-menu shortcut" test -f "$shortcut"
for pair in "DisplayName=Vantisk" "DisplayVersion=$version" "Publisher=Tessanor LTD" \
  "InstallLocation=$inst_win" "UninstallString=\"$inst_win\\Uninstall.exe\"" "NoModify=0x1" "NoRepair=0x1"; do
  check "uninstall entry: $pair" equals "$(reg_value "$uninstall_key" "${pair%%=*}")" "${pair#*=}"
done
require
start_ready "$exe_win"
check "the installed program starts (writes its settings within 10 s)" test $? -eq 0
installed=$started
require

phase "silent uninstall in place while the program runs"
# The autostart values the program writes ("Load with windows" on, then off).
reg_set "$hkcu_run" Vantisk "\"$exe_win\""
reg_set "$hklm_run" Vantisk "\"$exe_win\""
reg_set "$hklm_parked" Vantisk "\"$exe_win\""
check "the program still runs" running "$installed"
w 60 "$inst_win\\Uninstall.exe" /S "_?=$inst_win"
check "Uninstall.exe /S exits with 0" equals "$?" 0
check "the running program was ended" wait_until 5 not running "$installed"
check "Vantisk.exe and README.txt are gone" test ! -e "$inst/Vantisk.exe" -a ! -e "$inst/README.txt"
check "the shortcut is gone" test ! -e "$shortcut"
check "the uninstall entry is gone" not has_key "$uninstall_key"
check "HKCU Run value is gone" not has_value "$hkcu_run" Vantisk
check "HKLM Run value is gone" not has_value "$hklm_run" Vantisk
check "HKLM parked Run value is gone" not has_value "$hklm_parked" Vantisk
check "the settings are kept" equals "$(reg_value 'HKCU\Software\Vantisk\default' key)" S
require

phase "setup over a running installed copy"
w 60 "$installer" /S
check "setup /S exits with 0" equals "$?" 0
start_ready "$exe_win"
check "the installed program starts" test $? -eq 0
installed=$started
w 60 "$installer" /S
check "setup /S over the running program exits with 0" equals "$?" 0
check "the running program was ended" wait_until 5 not running "$installed"
check "Vantisk.exe is in place" cmp -s "$built_exe" "$inst/Vantisk.exe"
check "the uninstall entry is there" has_value "$uninstall_key" DisplayName
require

phase "ordinary silent uninstall beside a portable copy"
portable_win='C:\portable\Vantisk.exe'
mkdir -p "$prefix/drive_c/portable" && cp "$built_exe" "$(unix_path "$portable_win")"
start_ready "$portable_win"
check "a portable copy runs" test $? -eq 0
portable=$started
reg_set "$hkcu_run" Vantisk "\"$exe_win\""
reg_set "$hklm_run" Vantisk "\"$portable_win\""
w 60 "$inst_win\\Uninstall.exe" /S
check "Uninstall.exe /S exits with 0" equals "$?" 0
check "the installation folder is removed (within 30 s)" wait_until 30 test ! -e "$inst"
check "the uninstall entry is gone" not has_key "$uninstall_key"
check "HKCU Run value of the installed copy is gone" not has_value "$hkcu_run" Vantisk
check "HKLM Run value of the portable copy is kept" equals "$(reg_value "$hklm_run" Vantisk)" "\"$portable_win\""
check "the portable copy still runs" running "$portable"
phase

[[ $failures -eq 0 ]] || { say "$failures check(s) failed ($(since "$total_start") s)"; exit 1; }
say "all checks passed ($(since "$total_start") s in Wine)"

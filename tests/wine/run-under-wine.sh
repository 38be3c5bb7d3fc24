#!/usr/bin/env bash
# Runs a Windows test program under 64-bit Wine in a throw-away prefix.
#
#   run-under-wine.sh <program.exe> [args...]
#
# A template prefix is made once (wineboot takes 10-15 s) and copied for
# every run, so each run starts from the same empty registry and files.
# Exits with the program's exit code (124 if it ran out of time).
#
# Environment:
#   DISPLAY                 required; Wine needs an X server (Xvfb will do)
#   VANTISK_BUILD_DIR       where the template lives (default: the exe's dir)
#   VANTISK_WINE_TEMPLATE   template prefix (default: $VANTISK_BUILD_DIR/wine-template)
#   VANTISK_WINE_TIMEOUT    seconds before the program is stopped (default 280)
#   VANTISK_WINE_FULL_COPY  1: copy the whole template instead of sharing Wine's DLLs
set -uo pipefail

say() { echo "run-under-wine: $*" >&2; }
die() { say "$*"; exit 2; }
now() { date +%s.%N; }
since() { awk -v start="$1" -v end="$(now)" 'BEGIN { printf "%.2f", end - start }'; }

[[ $# -ge 1 ]] || die "usage: run-under-wine.sh <program.exe> [args...]"
[[ -n "${DISPLAY:-}" ]] ||
  die "DISPLAY is not set. Wine needs an X display: start 'Xvfb :77 &' and export DISPLAY=:77 (or use xvfb-run -a)."
exe=$1
shift
[[ -f "$exe" ]] || die "no such program: $exe"

# WINE and WINESERVER name them where they are not on PATH.
wine=${WINE:-$(command -v wine64 || command -v wine)} || die "Wine not found: put it on PATH or set WINE"
wineserver=${WINESERVER:-$(command -v wineserver)} || die "wineserver not found: put it on PATH or set WINESERVER"

export WINEDEBUG=-all
# No Mono/Gecko installer prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

build_dir=${VANTISK_BUILD_DIR:-$(cd "$(dirname "$exe")" && pwd)}
template=${VANTISK_WINE_TEMPLATE:-$build_dir/wine-template}
time_limit=${VANTISK_WINE_TIMEOUT:-280}
stamp="$template/.vantisk-template"

# Files of Wine itself, which no run is expected to rewrite: shared with the
# template by hard links (check_template notices a run that did). Everything
# else (registry hives, ini files) is copied: Wine rewrites some in place.
shared_files=(\( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys'
  -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' -o -iname '*.tlb'
  -o -iname '*.nls' -o -iname '*.ds' -o -iname '*.com' -o -iname '*.msstyles' \))

make_template() {
  local fresh="$template.new.$$"
  rm -rf "$fresh"
  WINEPREFIX="$fresh" timeout 300 "$wine" wineboot -i >/dev/null 2>&1
  # A crashing program must not leave a crash dialog waiting for a click.
  WINEPREFIX="$fresh" "$wine" reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # There is no window manager: a managed window makes Wine wait 2 s for one
  # on every hide or destroy.
  WINEPREFIX="$fresh" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  WINEPREFIX="$fresh" timeout 120 "$wineserver" -w
  if [[ ! -f "$fresh/system.reg" ]]; then
    WINEPREFIX="$fresh" "$wineserver" -k 2>/dev/null
    rm -rf "$fresh"
    die "wineboot did not create a prefix"
  fi
  echo "$template_id" >"$fresh/.vantisk-template"
  rm -rf "$template"
  mv "$fresh" "$template"
}

# A template is reused while Wine and the recipe above are unchanged.
template_id="$("$wine" --version) $(declare -f make_template | md5sum | cut -c1-12)"

populate_prefix() {
  if [[ "${VANTISK_WINE_FULL_COPY:-0}" != 1 ]] && cp -al "$template/." "$prefix/" 2>/dev/null; then
    (cd "$template" && find . -type f ! "${shared_files[@]}" -print0 |
      xargs -0 -r cp -a --remove-destination --parents -t "$prefix") && return 0
  fi
  # Other file system than the template, or asked for: a plain copy (~1 s).
  rm -rf "$prefix" && mkdir -p "$prefix" && cp -a "$template/." "$prefix/"
}

# A run that wrote into a file it shares with the template changed the
# template too; such a file still has two links and a status change after
# the copy was made (its mtime may be old: CopyFile keeps the source's).
# Dropping the stamp makes the next run build a clean template.
check_template() {
  [[ -n "$(find "$prefix" -type f -links +1 -cnewer "$prefix/.vantisk-copied" -print -quit)" ]] ||
    return 0
  say "the run wrote into a file shared with the template; it will be rebuilt"
  (flock -w 60 9 && rm -f "$stamp") 9>"$template.lock"
}

prefix=
program=
cleanup() {
  trap - EXIT INT TERM HUP
  [[ -n "$program" ]] && kill "$program" 2>/dev/null
  if [[ -n "$prefix" && -d "$prefix" ]]; then
    # Kills whatever the test left running in this prefix (the program under
    # test is not a child of this script: Wine detaches new processes).
    WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
    WINEPREFIX="$prefix" timeout 10 "$wineserver" -w 2>/dev/null
    rm -rf "$prefix"
  fi
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Prefixes of runs that were killed outright (SIGKILL skips the trap).
find "$(dirname "$template")" -maxdepth 1 -name 'wine-run.*' -mmin +240 \
  -exec rm -rf {} + 2>/dev/null

mkdir -p "$(dirname "$template")" || die "cannot create $(dirname "$template")"
setup_start=$(now)
exec 9>"$template.lock"
flock -w 600 9 || die "gave up waiting for $template.lock"
if [[ "$(cat "$stamp" 2>/dev/null)" != "$template_id" ]]; then
  make_template
  say "template prefix created in $(since "$setup_start") s ($template)"
fi
copy_start=$(now)
# Next to the template, so hard links work.
prefix=$(mktemp -d "$(dirname "$template")/wine-run.XXXXXX") || die "mktemp failed"
populate_prefix || die "could not copy the template into $prefix"
touch "$prefix/.vantisk-copied"
exec 9>&-
say "prefix ready in $(since "$copy_start") s"

# A display DPI for this run: Wine reads it when its session starts, so it is
# set, and that session ended, before the test program runs.
if [[ -n "${VANTISK_WINE_LOGPIXELS:-}" ]]; then
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    WINEPREFIX="$prefix" timeout 60 "$wine" reg add "$key" /v LogPixels /t REG_DWORD \
      /d "$VANTISK_WINE_LOGPIXELS" /f >/dev/null 2>&1 || die "could not set LogPixels"
  done
  WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
  WINEPREFIX="$prefix" timeout 10 "$wineserver" -w 2>/dev/null
  say "display set to $VANTISK_WINE_LOGPIXELS dpi"
fi

export WINEPREFIX="$prefix"
run_start=$(now)
# In the background, so that a signal reaches the traps at once.
timeout --kill-after=10 "$time_limit" "$wine" "$exe" "$@" &
program=$!
wait "$program"
status=$?
program=
[[ $status -eq 124 ]] && say "stopped after ${time_limit} s: the program did not finish"
run_time=$(since "$run_start")

stop_start=$(now)
WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
check_template
cleanup
say "ran $run_time s, shutdown $(since "$stop_start") s, exit code $status"
exit "$status"

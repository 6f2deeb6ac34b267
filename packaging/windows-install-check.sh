#!/usr/bin/env bash
# Installs ZOLM's Windows installer silently under Wine as a normal user would, checks what it
# left (programs, Start-menu shortcut, .ZLM association, per-user uninstall record), then runs
# the uninstaller silently and checks that all of it is gone again, while the programs' own
# settings key stays.
#
#   packaging/windows-install-check.sh SETUP.EXE WINEPREFIX [VERSION]
#
# VERSION defaults to the one in the installer's name (zolm-<version>-win64-setup.exe). The
# Wine prefix is made if it does not exist. Every Wine call is under a time limit, so the whole
# check ends within a few minutes; exit status 0 when everything held, 1 otherwise.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 SETUP.EXE WINEPREFIX [VERSION]" >&2
  exit 2
fi
setup=$(realpath "$1")
export WINEPREFIX
WINEPREFIX=$(realpath -m "$2")
version=${3:-}
if [ -z "$version" ]; then
  version=$(basename "$setup" | sed -n 's/^zolm-\(.*\)-win64-setup\.exe$/\1/p')
fi
[ -f "$setup" ] || { echo "windows-install-check: no installer $setup" >&2; exit 1; }
[ -n "$version" ] || { echo "windows-install-check: give the version, the name does not hold it" >&2; exit 2; }

# No Mono or Gecko download prompts at the first start, no desktop entries or file types
# written into the host's home (winemenubuilder), no debug noise.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

fail() {
  echo "windows-install-check: FAILED: $*" >&2
  if [ -s "$WINEPREFIX/.check-stderr" ]; then
    echo "windows-install-check: Wine's last words:" >&2
    tail -n 5 "$WINEPREFIX/.check-stderr" >&2
  fi
  timeout 20 wineserver -k 2> /dev/null || true
  exit 1
}
say() { echo "windows-install-check: $*"; }

# wine_run SECONDS PROGRAM ARGS...: Wine's output without carriage returns; fails on a timeout.
wine_run() {
  local limit=$1 status=0
  shift
  timeout "$limit" wine "$@" 2> "$WINEPREFIX/.check-stderr" | tr -d '\r' || status=$?
  if [ "$status" = 124 ]; then
    fail "wine $* did not end within $limit s"
  fi
  return "$status"
}
# Waits for every Windows process of the prefix to end (the uninstaller runs from a copy).
wine_settle() { timeout "${1:-60}" wineserver -w || fail "Wine's processes did not end within ${1:-60} s"; }

reg_has() { wine_run 30 reg query "$1" > /dev/null 2>&1; }
reg_value() { wine_run 30 reg query "$1" /ve 2> /dev/null || true; }

# --- Wine prefix ---
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  say "making the Wine prefix $WINEPREFIX"
  timeout 300 wineboot --init > /dev/null 2>&1 || fail "wineboot --init did not finish"
  wine_settle 120
fi
windows_path() { wine_run 30 cmd /c echo "$1" | tail -n 1; }
unix_path() { timeout 30 winepath -u "$1" 2> /dev/null | tr -d '\r'; }
local_appdata=$(unix_path "$(windows_path '%LOCALAPPDATA%')")
roaming=$(unix_path "$(windows_path '%APPDATA%')")
if [ ! -d "$local_appdata" ] || [ ! -d "$roaming" ]; then
  fail "cannot find the user's AppData folders in $WINEPREFIX"
fi
install_dir=$local_appdata/Programs/ZOLM
menu_dir="$roaming/Microsoft/Windows/Start Menu/Programs/ZOLM"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZOLM'
settings_key='HKCU\Software\Vexmoor\ZOLM'
# A user's settings from before, which uninstalling must leave alone.
wine_run 30 reg add "$settings_key" /v InstallCheck /d kept /f > /dev/null || fail "cannot write $settings_key"

# --- Install, and again over itself as an update does (it first runs the old uninstaller) ---
for round in install update; do
  say "$round: $(basename "$setup") /S"
  wine_run 180 "$setup" /S > /dev/null || fail "the installer ($round) exited with status $?"
  wine_settle 60
done

for file in zolm.exe zolm-cli.exe Uninstall.exe qt.conf Qt6Core.dll plugins/platforms/qwindows.dll; do
  [ -f "$install_dir/$file" ] || fail "the installation has no $file in $install_dir"
done
say "installed into $install_dir"

printed=$(wine_run 60 "$install_dir/zolm-cli.exe" --version) || fail "zolm-cli.exe --version exited with status $?"
grep -q -- "$version" <<< "$printed" || fail "zolm-cli.exe --version printed '$printed', not $version"
say "zolm-cli.exe --version: $printed"

# The desktop program starts, its window system plugin taken from the installed folder; it
# needs a display, so only where a virtual one can be had.
if command -v xvfb-run > /dev/null; then
  gui_log=$WINEPREFIX/.check-gui
  # shellcheck disable=SC2016 # expanded by the inner shell
  timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
      WINEDEBUG=+loaddll wine "$1" > "$2" 2>&1 &
      program=$!
      for _ in $(seq 40); do
        grep -q "platforms.qwindows.dll" "$2" && break
        sleep 1
      done
      sleep 3
      kill -0 "$program" 2> /dev/null
      running=$?
      timeout 20 wineserver -k
      exit "$running"' check "$install_dir/zolm.exe" "$gui_log" \
    || fail "zolm.exe did not start or did not keep running"
  loaded=$(tr -s "\\\\" / < "$gui_log" | grep -i 'Loaded L"' || true)
  grep -qi '/ZOLM/plugins/platforms/qwindows.dll"' <<< "$loaded" \
    || fail "zolm.exe did not load plugins\\platforms\\qwindows.dll from its own folder"
  say "zolm.exe started with the window system plugin from $install_dir/plugins"
else
  say "no xvfb-run: the desktop program's start is not checked"
fi

shortcut=$(find "$menu_dir" -maxdepth 1 -iname '*.lnk' ! -iname 'Uninstall.lnk' 2> /dev/null | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut in $menu_dir"
target=$(strings "$shortcut"; strings -el "$shortcut")
grep -qi 'zolm\.exe' <<< "$target" || fail "the Start-menu shortcut $(basename "$shortcut") does not start zolm.exe"
say "Start-menu shortcut: $(basename "$shortcut")"

association=$(reg_value 'HKCU\Software\Classes\.ZLM')
grep -q 'ZOLM.Survey' <<< "$association" || fail ".ZLM is not associated: $association"
command=$(reg_value 'HKCU\Software\Classes\ZOLM.Survey\shell\open\command')
grep -qi 'zolm\.exe.*%1' <<< "$command" || fail ".ZLM does not open in zolm.exe: $command"
icon=$(reg_value 'HKCU\Software\Classes\ZOLM.Survey\DefaultIcon')
grep -qi 'zolm\.exe' <<< "$icon" || fail ".ZLM has no icon from zolm.exe: $icon"
say ".ZLM opens with: $(grep -i 'zolm\.exe' <<< "$command" | sed 's/^ *//')"

reg_has "$uninstall_key" || fail "no per-user uninstall record $uninstall_key"
if reg_has 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZOLM'; then
  fail "the installer wrote to HKEY_LOCAL_MACHINE"
fi

# --- Uninstall ---
say "uninstalling silently"
wine_run 60 "$install_dir/Uninstall.exe" /S > /dev/null || fail "the uninstaller exited with status $?"
# The uninstaller returns at once and goes on from a copy of itself.
for _ in $(seq 60); do
  [ -e "$install_dir/zolm.exe" ] || [ -e "$install_dir/Uninstall.exe" ] || break
  sleep 1
done
wine_settle 60

for file in zolm.exe zolm-cli.exe Uninstall.exe Qt6Core.dll; do
  [ ! -e "$install_dir/$file" ] || fail "$file is still in $install_dir after uninstalling"
done
[ ! -e "$install_dir" ] || fail "the folder $install_dir is still there after uninstalling"
[ ! -e "$menu_dir" ] || fail "the Start-menu folder $menu_dir is still there after uninstalling"
! reg_has 'HKCU\Software\Classes\.ZLM' || fail "the .ZLM association is still registered"
! reg_has 'HKCU\Software\Classes\ZOLM.Survey' || fail "the ZOLM.Survey file type is still registered"
! reg_has "$uninstall_key" || fail "the uninstall record $uninstall_key is still there"
kept=$(wine_run 30 reg query "$settings_key" /v InstallCheck 2> /dev/null || true)
grep -q kept <<< "$kept" || fail "uninstalling removed the programs' settings $settings_key"
wine_run 30 reg delete "$settings_key" /f > /dev/null || true
wine_settle 30

say "passed: installed, ran, associated .ZLM and uninstalled cleanly for the current user"

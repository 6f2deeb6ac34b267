#!/usr/bin/env bash
# Checks a Windows installation folder of ZOLM: the files the programs need are there, both
# programs carry the version resource, and every DLL that an .exe or .dll in the folder imports
# is either in the folder too or part of Windows itself.
#
#   packaging/windows-deps-check.sh DIR [VERSION]
#   packaging/windows-deps-check.sh --install BUILD_DIR DIR [VERSION]
#       first installs BUILD_DIR's component "windows" into DIR (emptied), as cpack does
#
# Exit status 0 when all is well, 1 with the problems listed on stderr.
set -euo pipefail

if [ "${1:-}" = --install ]; then
  [ $# -ge 3 ] || { echo "usage: $0 --install BUILD_DIR DIR [VERSION]" >&2; exit 2; }
  rm -rf "$3"
  "${CMAKE:-cmake}" --install "$2" --component windows --prefix "$3" > /dev/null
  shift 2
fi
[ $# -ge 1 ] || { echo "usage: $0 DIR [VERSION]" >&2; exit 2; }
dir=$1
version=${2:-}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

problems=0
problem() {
  echo "windows-deps-check: $*" >&2
  problems=$((problems + 1))
}

required=(
  zolm.exe zolm-cli.exe qt.conf
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll
  plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll
  translations/qtbase_zh_CN.qm
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll
)
for file in "${required[@]}"; do
  [ -f "$dir/$file" ] || problem "missing $file"
done
if [ -f "$dir/qt.conf" ] && ! grep -qx 'Plugins = plugins' "$dir/qt.conf"; then
  problem "qt.conf does not point Qt at plugins/"
fi

# DLLs every Windows 10 has; anything else must come with the programs.
system_dlls=" advapi32 authz bcrypt cfgmgr32 comctl32 comdlg32 crypt32 d2d1 d3d11 d3d12 d3d9
  dbghelp dnsapi dwmapi dwrite dxgi gdi32 gdiplus hid imm32 iphlpapi kernel32 mpr msimg32 msvcrt
  ncrypt netapi32 ntdll ole32 oleacc oleaut32 opengl32 powrprof rpcrt4 secur32 setupapi shcore
  shell32 shlwapi ucrtbase user32 userenv uxtheme version winhttp wininet winmm winspool.drv
  ws2_32 wtsapi32 "
system_dlls=$(echo "$system_dlls" | tr -s ' \n' ' ')

present=" "
while IFS= read -r -d '' file; do
  name=$(basename "$file" | tr '[:upper:]' '[:lower:]')
  present+="$name "
done < <(find "$dir" -maxdepth 1 -iname '*.dll' -print0)

while IFS= read -r -d '' file; do
  imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p') \
    || { problem "cannot read ${file#"$dir"/}"; continue; }
  for dll in $imports; do
    lower=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    case "$lower" in api-ms-win-* | ext-ms-win-*) continue ;; esac
    [[ $system_dlls == *" ${lower%.dll} "* || $system_dlls == *" $lower "* ]] && continue
    [[ $present == *" $lower "* ]] && continue
    problem "${file#"$dir"/} needs $dll, which is neither in the folder nor part of Windows"
  done
done < <(find "$dir" \( -iname '*.exe' -o -iname '*.dll' \) -print0)

# The version resource's strings are UTF-16; the icon is resource type 3 (RT_ICON).
for exe in zolm.exe zolm-cli.exe; do
  [ -f "$dir/$exe" ] || continue
  strings=$(strings -el -n 2 "$dir/$exe")
  product=$(grep -A1 -x ProductName <<< "$strings" | tail -n 1)
  [ "$product" = ZOLM ] || problem "$exe has no version resource naming the product ZOLM"
  said=$(grep -A1 -x ProductVersion <<< "$strings" | tail -n 1)
  if [ -n "$version" ] && [ "$said" != "$version" ]; then
    problem "$exe's version resource says '$said', not $version"
  fi
  sections=$("$objdump" -h "$dir/$exe")
  grep -q '\.rsrc' <<< "$sections" || problem "$exe has no resources (icon)"
done

if [ $problems -gt 0 ]; then
  echo "windows-deps-check: $problems problem(s) in $dir" >&2
  exit 1
fi
echo "windows-deps-check: $dir is complete"

#!/usr/bin/env bash
# Runs desktop tests that only a real window manager can show (which window stays in front,
# where a box appears, what fits in a title bar): a virtual X server of its own with openbox,
# and the test program on Qt's X11 platform.
#   run_under_window_manager.sh TEST_PROGRAM [ARGS...]
# Exits 77 (skipped) when Xvfb, openbox, xprop or xdotool is not installed.
set -euo pipefail
program="$1"
shift
for tool in Xvfb openbox xprop xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "run_under_window_manager: $tool is not installed (Debian: xvfb openbox x11-utils xdotool); skipped"
    exit 77
  fi
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "run_under_window_manager: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# The system's openbox settings, not the user's; the window manager is up once it has
# announced itself on the root window.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
mkdir -p "$XDG_CONFIG_HOME"
chmod 700 "$work"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
  || { echo "run_under_window_manager: openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }

# The X11 client libraries keep what they allocate until the process ends; under
# AddressSanitizer leaks are looked for in the offscreen run of the same suite.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
QT_QPA_PLATFORM=xcb timeout 300 "$program" "$@"

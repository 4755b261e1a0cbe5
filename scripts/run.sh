#!/usr/bin/env bash
# Installs what is needed, builds QUILX.EXE and starts it under Wine, the
# first time on the demonstration macros (samples/demo.txt).
# With no usable X display it starts a virtual one, waits for the main
# window, saves a screenshot and prints its path; the program keeps running
# until `scripts/run.sh --stop`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run_dir=$root/build/run
state=$run_dir/state
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$run_dir/prefix

stop() {
  [ -f "$state" ] || return 0
  # shellcheck disable=SC1090
  . "$state"
  DISPLAY=${RUN_DISPLAY:-} wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  rm -f "$state"
}
if [ "${1:-}" = "--stop" ]; then stop; echo "stopped"; exit 0; fi

bash "$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win >/dev/null
stop

mkdir -p "$run_dir/program/Icons"
cp "$root/build/win/dist/QUILX.EXE" "$root/build/win/dist/QLXHOOK.DLL" "$root/build/win/dist/QLXFILE.EXE" \
  "$run_dir/program/"
# The first start opens the demonstration macros; from then on the macro
# file is the user's own and is never replaced.
[ -e "$run_dir/program/QUILX.QLX" ] || cp "$root/build/win/dist/DEMO.QLX" "$run_dir/program/QUILX.QLX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  base=$("$root/scripts/wine-prefix.sh")
  rm -rf "$WINEPREFIX"; cp -a "$base" "$WINEPREFIX"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd "$run_dir/program" && exec wine QUILX.EXE "$@"
fi

# Virtual display. Everything started here is detached from this shell's
# output, so the script returns even when its output is piped.
rm -f "$run_dir/display"
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
  3>"$run_dir/display" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$run_dir/display" ] && break; sleep 0.1; done
[ -s "$run_dir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$run_dir/display")
setsid openbox </dev/null >/dev/null 2>&1 &
wm_pid=$!
printf 'RUN_DISPLAY=%s\nXVFB_PID=%s\nWM_PID=%s\n' "$DISPLAY" "$xvfb_pid" "$wm_pid" >"$state"
(cd "$run_dir/program" && exec setsid wine QUILX.EXE "$@") </dev/null >"$run_dir/quilx.log" 2>&1 &
for _ in $(seq 1 150); do
  xdotool search --name '^Quillon 98 \(' >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool search --name '^Quillon 98 \(' >/dev/null 2>&1 || { echo "main window did not appear" >&2; exit 1; }
sleep 1  # let the first paint finish before the picture
shot=$run_dir/quilx-main.png
import -window root "$shot"
echo "Quillon 98 is running on virtual display $DISPLAY"
echo "screenshot: $shot"
echo "stop it with: scripts/run.sh --stop"

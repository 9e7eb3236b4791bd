#!/usr/bin/env bash
# Builds (see build.sh) and starts Kovrel on the virtual keyboard. Without a display (a headless
# machine) it runs on a virtual X display, where kovrelctl and the tests can still reach it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$("$root/scripts/build.sh" "${KOVREL_BUILD_TYPE:-Debug}")"
export VARNOLT_VIRTUAL=1
if [ ! -x "$dir/bin/Kovrel" ]; then
  echo "Kovrel is not built yet; the keyboard as kovrelctl sees it:"
  exec "$dir/bin/kovrelctl" info "$@"
fi
echo "Kovrel starts in the tray: open it from the tray icon, or start $dir/bin/Kovrel again to show its window."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1600x900x24" "$dir/bin/Kovrel" "$@"
fi
exec "$dir/bin/Kovrel" "$@"

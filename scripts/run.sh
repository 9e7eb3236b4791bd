#!/usr/bin/env bash
# Builds (see build.sh) and starts Kovrel on the virtual keyboard. Until the application exists
# it shows what the build has.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$("$root/scripts/build.sh" "${KOVREL_BUILD_TYPE:-Debug}" | tail -n 1)"
export VARNOLT_VIRTUAL=1
if [ -x "$dir/bin/Kovrel" ]; then
  exec "$dir/bin/Kovrel" "$@"
elif [ -x "$dir/bin/kovrelctl" ]; then
  "$dir/bin/kovrelctl" info "$@"
else
  echo "Built into $dir/bin; the application is not there yet:"
  ls "$dir/bin"
fi

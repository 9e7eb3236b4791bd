#!/usr/bin/env bash
# Runs Kovrel under a virtual X server on the virtual keyboard and saves a picture of its main
# window (default: docs/main-window.png). Everything the run writes (the daemon's keyboard memory,
# the settings, the data folder) goes to a temporary folder that is removed afterwards.
#
#   scripts/screenshot.sh [BIN_FOLDER] [OUTPUT.png]
#
# BIN_FOLDER is the build's program folder (default: build/bin), which holds Kovrel, Varnolt,
# libOndrel.so and Skins/. Needs xvfb-run and ImageMagick's import.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
output=${2:-$root/docs/main-window.png}
mkdir -p "$(dirname "$output")"
output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")

for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$bin/Kovrel" ] || { echo "screenshot.sh: no Kovrel in $bin" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" "$work/state" "$work/config" "$work/home"
chmod 700 "$work/runtime"

cat > "$work/inner.sh" <<'INNER'
#!/usr/bin/env bash
set -u
bin=$1 output=$2
"$bin/Kovrel" --start &
kovrel=$!
# Wait until the running instance answers, then open its window.
for _ in $(seq 1 100); do
    [ -S "$XDG_RUNTIME_DIR/kovrel/Brennock.socket" ] && break
    sleep 0.1
done
sleep 2 # the keyboard's configuration and lighting are read at connection
"$bin/Kovrel" --command 32771
sleep 2
window=""
for _ in $(seq 1 50); do
    window=$(xdotool search --name "Gaming Keyboard Settings" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -n "$window" ]; then
    import -window "$window" "$output"
else
    import -window root "$output"
fi
status=$?
"$bin/Kovrel" --kill
wait "$kovrel"
# The daemon Kovrel started keeps running for other clients; it belongs to this run only.
daemon_pid=$(cat "$XDG_RUNTIME_DIR/varnolt.lock" 2>/dev/null || true)
[ -n "$daemon_pid" ] && kill "$daemon_pid" 2>/dev/null
exit $status
INNER
chmod +x "$work/inner.sh"

env XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config" \
    HOME="$work/home" VARNOLT_VIRTUAL=1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1600x900x24" "$work/inner.sh" "$bin" "$output"
echo "saved $output"

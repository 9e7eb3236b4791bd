#!/usr/bin/env bash
# Configures and builds one build type: Debug (default, into build/), Release, Asan or Tsan
# (into build-<type>/). The Tsan build leaves the Qt parts out: Qt is not instrumented.
# Progress and errors go to stderr; the one line on stdout is the build folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
type="${1:-Debug}"
case "$type" in
  Debug) dir="$root/build" ;;
  Release|RelWithDebInfo|Asan|Tsan) dir="$root/build-$(echo "$type" | tr '[:upper:]' '[:lower:]')" ;;
  *) echo "unknown build type '$type' (Debug, Release, RelWithDebInfo, Asan or Tsan)" >&2; exit 2 ;;
esac
extra=()
if [ "$type" = "Tsan" ]; then extra+=(-DKOVREL_WITH_QT=OFF -DKOVREL_WITH_BENCH=OFF); fi
if [ "$type" = "Asan" ]; then extra+=(-DKOVREL_WITH_BENCH=OFF); fi

"$root/scripts/setup.sh" >&2
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.ccache}"
# Clones in other folders share the cache: paths below the source root are hashed relative to it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${extra[@]}" >&2
fi
cmake --build "$dir" -j "${KOVREL_JOBS:-2}" >&2
echo "$dir"

#!/usr/bin/env bash
# Builds (see build.sh) and runs the tests of one build type: Debug (default), Release, Asan or
# Tsan. The Tsan build runs the tests labelled "tsan" (the threaded device link, daemon and
# library). Extra arguments go to ctest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
type="${1:-Debug}"
shift || true
dir="$("$root/scripts/build.sh" "$type")"
labels=()
if [ "$type" = "Tsan" ]; then labels=(-L tsan); fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"
cd "$dir"
ctest --output-on-failure -j "${KOVREL_JOBS:-2}" "${labels[@]}" "$@"

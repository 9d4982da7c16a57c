#!/usr/bin/env bash
# Runs every test layer: unit tests natively (also under ASan and UBSan),
# platform tests under Wine, and the end-to-end tests of the real program.
set -u
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorlane_install_dependencies || exit 1

failed=()
step() {
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    failed+=("$name")
  fi
}

build() {
  local log="build/$1.log"
  mkdir -p build
  if ! { cmake --preset "$1" && cmake --build --preset "$1" -j"$(nproc)"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    return 1
  fi
}

step "unit build" build native
step "unit tests" ctest --preset native
step "sanitized build" build native-sanitize
step "sanitized unit tests" ctest --preset native-sanitize
step "windows build" build windows
step "platform tests" /usr/bin/python3 tests/testenv.py -- ctest --preset windows
# The end-to-end tests mostly wait for Wine and the printer queues: they run
# in several workers, a file to a worker, each with a display, scheduler and
# Wine prefix of its own. Waiting leaves half the processors idle with one
# worker a processor, so there is one more (7.6 against 9.1 minutes on two).
workers=$(( $(nproc) + 1 < 4 ? $(nproc) + 1 : 4 ))
step "end-to-end tests" /usr/bin/python3 -m pytest -q -p no:cacheprovider -n "$workers" --dist loadfile tests/e2e

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test layers passed."

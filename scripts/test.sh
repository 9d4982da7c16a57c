#!/usr/bin/env bash
# Runs every test layer: unit tests natively (also built with Clang, under
# ASan and UBSan), platform tests under Wine, the end-to-end tests of the
# real program, clang-tidy, and a second build of the release that must give
# the same bytes. The release is signed with a throwaway certificate.
set -u
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorlane_install_dependencies || exit 1

failed=()
step() {
  local name=$1 started=$SECONDS
  shift
  echo "== $name"
  if ! "$@"; then
    failed+=("$name")
  fi
  echo "== $name: $((SECONDS - started)) s"
}

build() {
  local log="build/$1.log"
  mkdir -p build
  if ! { cmake --preset "$1" && cmake --build --preset "$1" -j"$(nproc)"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    return 1
  fi
}

# Checks that need no display run beside the tests under Wine, which mostly
# wait, at the lowest priority so that they only take what those leave idle.
beside=()
start_beside() {
  local name=$1
  shift
  ( started=$SECONDS; nice -n 19 "$@" >"build/$name.log" 2>&1; code=$?
    echo "== $name: $((SECONDS - started)) s" >>"build/$name.log"; exit $code ) &
  beside+=("$!:$name")
}
finish_beside() {
  local entry
  for entry in "${beside[@]}"; do
    echo "== ${entry#*:}"
    if wait "${entry%%:*}"; then
      tail -n 3 "build/${entry#*:}.log"
    else
      tail -n 80 "build/${entry#*:}.log"
      failed+=("${entry#*:}")
    fi
  done
}

# The release is built and checked signed, as an organisation builds it.
mkdir -p build
rm -rf build/test-signing
tests/release/make_certificate.sh build/test-signing || exit 1
export VORLANE_SIGNING_CERTIFICATE=$PWD/build/test-signing/signing.pfx
VORLANE_SIGNING_PASSWORD=$(cat build/test-signing/password)
export VORLANE_SIGNING_PASSWORD
export VORLANE_TEST_SIGNING_CA=$PWD/build/test-signing/ca.pem

step "unit build" build native
step "unit tests" ctest --preset native
step "sanitized build (Clang)" build native-sanitize
step "sanitized unit tests" ctest --preset native-sanitize
step "windows build" build windows
start_beside clang-tidy scripts/tidy.py
start_beside reproducible-release /usr/bin/python3 tests/release/rebuild_test.py build/windows
step "platform tests" /usr/bin/python3 tests/testenv.py -- ctest --preset windows
# The end-to-end tests mostly wait for Wine and the printer queues: they run
# in several workers, a file to a worker, each with a display, scheduler and
# Wine prefix of its own. Waiting leaves half the processors idle with one
# worker a processor, so there is one more (7.6 against 9.1 minutes on two).
workers=$(( $(nproc) + 1 < 4 ? $(nproc) + 1 : 4 ))
step "end-to-end tests" /usr/bin/python3 -m pytest -q -p no:cacheprovider -n "$workers" --dist loadfile tests/e2e
finish_beside

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test layers passed."

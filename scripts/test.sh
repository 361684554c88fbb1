#!/usr/bin/env bash
# Installs what is missing, builds both host versions, and runs every test,
# then the same suite under AddressSanitizer + UndefinedBehaviorSanitizer.
#
# The two builds run side by side, and the sanitizer build goes on while
# the normal build's tests run: each phase alone leaves cores idle (a
# target's last units and its link, a test run's longest tests), and the
# other fills them. The sanitizer build's output goes to
# build/asan-build.log, shown in full when it fails. Each phase's time is
# printed as it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
start=$SECONDS
phase() { echo "== $1 ($((SECONDS - start)) s)"; }

cmake --preset default >/dev/null
cmake --preset asan >/dev/null
log=build/asan-build.log
# In a session of its own, so that whatever ends this script ends the
# background build with all its compilers.
setsid cmake --build --preset asan >"$log" 2>&1 &
asan_build=$!
trap 'kill -- "-$asan_build" 2>/dev/null || true' EXIT

phase "default build"
cmake --build --preset default
phase "default tests"
ctest --preset default
phase "waiting for the asan build"
if ! wait "$asan_build"; then
  cat "$log"
  echo "== asan build failed ($((SECONDS - start)) s)"
  exit 1
fi
trap - EXIT
phase "asan tests"
ctest --preset asan
phase "all passed"

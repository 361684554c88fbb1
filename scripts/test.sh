#!/usr/bin/env bash
# Installs what is missing, builds both host versions, and runs every test,
# then the same suite under AddressSanitizer + UndefinedBehaviorSanitizer.
#
# The phases run one after the other, each over all cores: on the virtual
# machines this runs on, two phases side by side took longer than the two
# one after the other (the cores share more than they seem to, and each
# compiler or test slows the others down). Each phase's time since the
# start is printed as it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
start=$SECONDS
phase() { echo "== $1 ($((SECONDS - start)) s)"; }

for preset in default asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  phase "$preset build"
  ctest --preset "$preset"
  phase "$preset tests"
done
phase "all passed"

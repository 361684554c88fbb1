#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo scenario in both
# stand-in hosts: simhost24 with the English add-on, simhost25 with the
# Slovenian one, then the Cutting List demo and the creation of beam B1 in
# both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
for version in 24 25; do
  build/default/bin/simhost$version --out build/default/demo-$version scenarios/demo.json
  # A Cutting List over placed bars, and the list exported to
  # build/default/demo-NN/cutting-list.txt.
  build/default/bin/simhost$version --out build/default/demo-$version scenarios/cutting-list.json
  # Beam B1 created from four bars and a stirrup with its list; the report
  # lists its detail drawing and build/default/demo-NN/create-beam/plan.svg
  # shows the drawing beside the plan.
  build/default/bin/simhost$version --out build/default/demo-$version/create-beam scenarios/create_beam.json
done

#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo scenario in both
# stand-in hosts: simhost24 with the English add-on, simhost25 with the
# Slovenian one, then the Cutting List demo, reinforcement placed into a
# wall, a slab and a roof, reinforcement kept in step with a moved wall and
# a deleted slab, and the creation and edit of beam B1 in both.
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
  # Reinforcement placed into a wall, a slab with a hole and a roof with an
  # opening; the plan picture is build/default/demo-NN/placing/plan.svg.
  build/default/bin/simhost$version --out build/default/demo-$version/placing scenarios/placing-demo.json
  # A reinforced wall moved and a reinforced slab raised and deleted: the
  # reinforcement follows, and goes with the slab.
  build/default/bin/simhost$version --out build/default/demo-$version/keep-in-step scenarios/keep-in-step.json
  # Beam B1 created from four bars and a stirrup with its list; the report
  # lists its detail drawing and build/default/demo-NN/create-beam/plan.svg
  # shows the drawing beside the plan. Then Edit Beam re-assembles B1 with a
  # fifth bar, chosen from the edit list; its preview picture stays in
  # build/default/demo-NN/create-beam/temp/.
  build/default/bin/simhost$version --out build/default/demo-$version/create-beam scenarios/create_beam.json
done

#!/usr/bin/env bash
# Installs what is missing, builds the two add-ons and the two stand-in
# hosts (nothing else), and runs the demo scenarios in both: simhost24 with
# the English add-on, simhost25 with the Slovenian one. Each scenario writes
# into a folder of its own, build/default/demo-NN/<scenario>/:
#   demo          the add-on loaded, its menu and palette, and unloaded
#   cutting-list  a Cutting List over placed bars, exported to cutting-list.txt
#   placing       reinforcement placed into a wall, a slab with a hole and a
#                 roof with an opening (plan.svg shows them)
#   keep-in-step  a reinforced wall moved and a reinforced slab raised and
#                 deleted: the reinforcement follows, and goes with the slab
#   create-beam   beam B1 created from four bars and a stirrup with its list,
#                 then re-assembled with a fifth bar (plan.svg shows the
#                 detail drawing; the edit list's preview stays in temp/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target Armbrix24 Armbrix25 simhost24 simhost25
run() {  # run VERSION FOLDER SCENARIO
  build/default/bin/simhost$1 --out "build/default/demo-$1/$2" "scenarios/$3"
}
for version in 24 25; do
  rm -rf "build/default/demo-$version"
  run $version demo demo.json
  run $version cutting-list cutting-list.json
  run $version placing placing-demo.json
  run $version keep-in-step keep-in-step.json
  run $version create-beam create_beam.json
done

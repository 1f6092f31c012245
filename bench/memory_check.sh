#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak resident memory of `pelkor-cli run` per primitive, check included, on the 10,000-stage
# inverter chain and on a hierarchy of about a million primitives (make_hierarchy.py); fails
# when the chain needs more than 250 bytes per primitive or the hierarchy more than 95.
# Usage: memory_check.sh PATH/TO/pelkor-cli PATH/TO/peer-bench [STEPS]
set -eu
cli=$(realpath "${1:?usage: memory_check.sh PATH/TO/pelkor-cli PATH/TO/peer-bench [STEPS]}")
peer=$(realpath "${2:?usage: memory_check.sh PATH/TO/pelkor-cli PATH/TO/peer-bench [STEPS]}")
steps=${3:-100}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$peer/make_chain.py" "$work/chain" 10000
hierarchy_primitives=$(python3 "$here/make_hierarchy.py" "$work/hierarchy")

status=0
measure() {  # design, primitives, most bytes per primitive
  local kb
  kb=$(/usr/bin/time -f %M "$cli" run "$1" --max-steps "$steps" 2>&1 >/dev/null | tail -n 1)
  local per=$((kb * 1024 / $2))
  echo "$(basename "$1"): $2 primitives, peak $kb KB, $per bytes per primitive"
  [ "$per" -le "$3" ] || status=1
}
measure "$work/chain/chain.dtn" 60003 250
measure "$work/hierarchy/hierarchy.dtn" "$hierarchy_primitives" 95
exit $status

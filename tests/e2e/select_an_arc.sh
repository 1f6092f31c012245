#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# With the move tool an arc is picked on its line and shown picked, Delete removes it alone and
# Ctrl+Z brings it back; a band drawn over both objects outlines them. The saved design holds
# both objects and the arc.
#   select_an_arc.sh PELKOR SCREENSHOT_TOOL [SHOTS_FOLDER]
set -euo pipefail
pelkor=$1 screenshot=$2 shots=${3:-}
source "$(dirname "$0")/e2e_lib.sh"

start_pelkor

y=200 source_x=100 register_x=340
tool $tool_source
click $source_x $y
tool $tool_shift_register
click $register_x $y
tool $tool_arc
click $source_x $y
click $register_x $y

move_tool
click 220 $y # on the arc's line
at 220 300
shot arc_selected
focus "$main"
keys Delete
shot arc_deleted
keys ctrl+z
at 40 120
xdotool mousedown 1
at 200 260
at 400 280
xdotool mouseup 1
sleep 0.3
shot objects_selected

design="$work/select_an_arc.dtn"
save_as "$design"
quit_pelkor

expect_line "$design" -E '^uhzi\['
expect_line "$design" -E '^shift\['
arcs=$(tr -d '\r' <"$design" | grep -c '^arc\[' || true)
((arcs == 1)) || fail "the design has $arcs arcs, not the one deleted and brought back"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Double-clicks with the arc tool open properties and draw no arc, in the view and in the state
# machine editor, while an arc is in progress; single clicks still draw arcs. In the editor a
# state arc is picked on its line, deleted with Delete and brought back with Ctrl+Z. The saved
# design must hold exactly the arcs drawn by single clicks.
#   double_click_with_the_arc_tool.sh PELKOR SCREENSHOT_TOOL [SHOTS_FOLDER]
set -euo pipefail
pelkor=$1 screenshot=$2 shots=${3:-}
source "$(dirname "$0")/e2e_lib.sh"

start_pelkor

y=100 register_x=100 counter_x=300 machine_x=500
tool $tool_shift_register
click $register_x $y
tool $tool_counter
click $counter_x $y
tool $tool_state_machine
click $machine_x $y

tool $tool_arc
click $register_x $y # an arc from the register, which may end on the counter or the machine
double_click $counter_x $y
open_dialog カウンタ
keys Escape
wait_window_gone '^カウンタ$'

double_click $machine_x $y
open_machine_editor
first_state=(150 250) second_state=(400 250)
machine_tool 2 # ステート
on_surface "${first_state[@]}" 1
on_surface "${second_state[@]}" 1
machine_tool 1 # アーク
on_surface "${first_state[@]}" 1
on_surface "${second_state[@]}" 2
open_inner_dialog ステートマシン "$editor"
keys Escape
wait_inner_gone ステートマシン
on_surface "${second_state[@]}" 1 # ends the state arc
on_surface 275 "${first_state[1]}" 1 # picks it on its line
shot state_arc_selected
focus "$editor"
keys Delete
shot state_arc_deleted
keys ctrl+z
focus "$editor"
keys Return
wait_window_gone '^ステートマシン$'

click $counter_x $y # the arc begun before both double-clicks ends here
at 300 300
shot arcs_after_double_clicks

design="$work/double_click.dtn"
save_as "$design"
quit_pelkor

arcs=$(tr -d '\r' <"$design" | grep -c '^arc\[' || true)
((arcs == 1)) || fail "the design has $arcs arcs, not the one drawn by single clicks"
counter=$(tr -d '\r' <"$design" | sed -n "s/^count\[\([0-9]*\),$counter_x,$y,.*/\1/p")
expect_line "$design" -xF "arc[1,$counter]{}"

smarcs=$(tr -d '\r' <"$design" | grep -c '^smarc\[' || true)
((smarcs == 1)) || fail "the machine has $smarcs state arcs, not the one drawn and restored"
expect_line "$design" -xF 'smarc[1,2]{}'

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a design around a two-state machine in an empty pelkor window with synthesized mouse
# and keys only: the machine is drawn in its editor (double-click), the states' texts typed
# into the state dialog, the named state arc chosen in the arc dialog; the machine's tooltip
# is shown once. Saves the design through the file dialog, quits, and runs it with pelkor-cli.
#   build_a_state_machine.sh PELKOR PELKOR_CLI SCREENSHOT_TOOL
set -euo pipefail
pelkor=$1 cli=$2 screenshot=$3
source "$(dirname "$0")/e2e_lib.sh"

start_pelkor

y=100 source_x=100 first_x=220 machine_x=340 second_x=460 sink_x=580

tool $tool_source
click $source_x $y
tool $tool_shift_register
click $first_x $y
click $second_x $y
tool $tool_state_machine
click $machine_x $y
tool $tool_sink
click $sink_x $y

move_tool
double_click $source_x $y
open_dialog UHZI
type_text 1100
keys Tab Tab Tab Tab
type_text x
keys Return
wait_window_gone '^UHZI$'

double_click $sink_x $y
open_dialog ケムマキ
keys Tab
type_text 1001
keys Tab Return
wait_window_gone '^ケムマキ$'

double_click $machine_x $y
open_machine_editor
first_state=(150 250) second_state=(400 250)

machine_tool 2 # ステート
on_surface "${first_state[@]}" 1
on_surface "${second_state[@]}" 1

on_surface "${first_state[@]}" 2
open_inner_dialog ステートマシン "$editor"
type_text 'y = x;'
keys Tab
type_text 'go = x | ~x;'
keys Return
type_text 'stay = x & ~x;'
keys Tab space Return # main
wait_inner_gone ステートマシン

on_surface "${second_state[@]}" 2
open_inner_dialog ステートマシン "$editor"
type_text 'y = ~x;'
keys Tab
type_text 'back = x | ~x;'
keys Tab Return
wait_inner_gone ステートマシン

# The first state's texts name two arcs, so its arc asks which; the second's names one.
machine_tool 1 # アーク
on_surface "${first_state[@]}" 1
on_surface "${second_state[@]}" 1
open_dialog アーク
type_text go
keys Return
wait_window_gone '^アーク$'
on_surface "${second_state[@]}" 1
on_surface 275 350 1 # a bend, so that the arc back does not cover the first
on_surface "${first_state[@]}" 1
shot state_machine_editor
focus "$editor"
keys Return
wait_window_gone '^ステートマシン$'

# Pointing at the machine shows its main state's output text as a tooltip.
windows=$(window_count)
at $machine_x $y
at $((machine_x + 2)) $y
wait_window_count $((windows + 1)) "no tooltip on the state machine"
shot tooltip
at 300 300
wait_window_count "$windows" "the tooltip did not go"

tool $tool_arc
for x in $source_x $first_x $machine_x $second_x; do
  click "$x" $y
  click $((x + 120)) $y
done
at 300 300
shot state_machine_design

design="$work/machine.dtn"
save_as "$design"
quit_pelkor

for line in 'state[3,340,100,1]{' '{y = x;}' '{go = x | ~x;' 'stay = x & ~x;}}' '{y = ~x;}' \
  '{back = x | ~x;}}' 'smarc[1,2]{go}' 'uhzi[4,100,100,0,0,0,x]{' '1100}' \
  'kemmakix[5,580,100,0,0,]{' '1001}' 'arc[4,1]{}' 'arc[1,3]{}' 'arc[3,2]{}' 'arc[2,5]{}'; do
  expect_line "$design" -xF "$line"
done
expect_line "$design" -E '^smarc\[2,1,\([0-9]+,[0-9]+\)\]\{\}$'
# The states lie where they were clicked, relative to each other.
mapfile -t states < <(tr -d '\r' <"$design" | sed -n 's/^sub\[[12],\([0-9]*,[0-9]*\)\]{$/\1/p')
((${#states[@]} == 2)) || fail "the machine does not have two states"
IFS=, read -r x1 y1 <<<"${states[0]}"
IFS=, read -r x2 y2 <<<"${states[1]}"
((x2 - x1 == second_state[0] - first_state[0] && y1 == y2)) ||
  fail "the states are at ($x1, $y1) and ($x2, $y2)"
expect_run_passes "$design" 1001

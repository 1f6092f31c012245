#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a design in an empty pelkor window with synthesized mouse and keys only: a source
# with the data 1010, a shift register, a counter, a second register and a sink, arcs drawn
# with the arc tool (one with a bend), the properties typed into the real dialogs (the sink's
# through the context menu's 編集); saves it through the file dialog, quits, and runs the
# saved file with pelkor-cli.
#   build_with_the_mouse.sh PELKOR PELKOR_CLI SCREENSHOT_TOOL OUT.png
set -euo pipefail
pelkor=$1 cli=$2 screenshot=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"

start_pelkor

# Logical positions, left to right on one row.
y=100 source_x=100 first_x=220 counter_x=340 second_x=460 sink_x=580

tool $tool_source
click $source_x $y
tool $tool_shift_register
click $first_x $y
click $second_x $y
tool $tool_counter
click $counter_x $y
tool $tool_sink
click $sink_x $y

# Properties, each through a double-click with the move tool, whose press only selects.
move_tool
double_click $source_x $y
open_dialog UHZI
type_text 1010
keys Tab Tab Tab Tab # past the three check boxes to the name
type_text x
keys Return
wait_window_gone '^UHZI$'

double_click $first_x $y
open_dialog シフトレジスタ
keys Tab space Tab ctrl+a # 大きさを指定, then the size it unlocks
type_text 3
keys Return
wait_window_gone '^シフトレジスタ$'

double_click $counter_x $y
open_dialog カウンタ
type_text 'y = x;'
keys Tab ctrl+a
type_text 2
keys Return
wait_window_gone '^カウンタ$'

# The sink through its context menu: 編集 comes just before its last item, ブレークポイント.
windows=$(window_count)
right_click $sink_x $y
wait_window_count $((windows + 1)) "no context menu on the sink"
shot context_menu
keys Up Up Return
open_dialog ケムマキ
keys Tab # from the received values, which start with the focus, to 照合
type_text 0010
keys Tab Return
wait_window_gone '^ケムマキ$'

# The arcs, the second with a bend on empty space.
tool $tool_arc
click $source_x $y
click $first_x $y
click $first_x $y
click 280 160
click $counter_x $y
click $counter_x $y
click $second_x $y
click $second_x $y
click $sink_x $y
at 300 300
"$screenshot" "$out"

design="$work/built.dtn"
save_as "$design"
quit_pelkor

for line in 'uhzi[4,100,100,0,0,0,x]{' '1010}' 'count[3,340,100,2]{' 'y = x;}' \
  'kemmakix[5,580,100,0,0,]{' '0010}' 'arc[4,1]{}' 'arc[1,3,(280,160)]{}' 'arc[3,2]{}' \
  'arc[2,5]{}'; do
  expect_line "$design" -xF "$line"
done
# The first register has its length fixed at 3; the second keeps the length 1.
expect_line "$design" -E '^shift\[1,220,100,1,3,[0-9]\]\{$'
expect_line "$design" -E '^shift\[2,460,100,0,1,[0-9]\]\{$'
expect_run_passes "$design" 0010

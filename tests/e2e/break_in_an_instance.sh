#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets a breakpoint with the mouse on the state machine inside the second inverter of the
# double inverter (its context menu's ブレークポイント), runs without animation and checks that the
# run paused there: the view shows that instance. Two steps back change the view, and the
# animated run from there pauses at the same breakpoint with the view as it was. After a restart
# the breakpoint, kept in the state folder and not in the design, pauses the run again.
#   break_in_an_instance.sh PELKOR PELKOR_CLI SCREENSHOT_TOOL EXAMPLES OUT.png
set -euo pipefail
pelkor=$1 cli=$2 screenshot=$3 examples=$4 out=$5
source "$(dirname "$0")/e2e_lib.sh"
export XDG_STATE_HOME="$work/state"
cp "$examples/double_inverter.dtn" "$examples/inverter.dtn" "$work/"
design="$work/double_inverter.dtn"
top_title='^double_inverter - pelkor$'
inner_title='^double_inverter / 7:inverter - pelkor$'

start_on_design() {
  "$pelkor" --settings "$work/pelkor.ini" "$design" >"$work/pelkor.log" 2>&1 &
  app=$!
  main=$(find_window "$top_title" 30)
  focus "$main"
  sleep 0.5
}

# The centre of the source on the screen, into src_x and src_y: both modules draw their source
# at logical (40, 100), their leftmost object, a triangle in the source colour whose left edge
# stands 20 pixels left of its centre.
source_colour=FF8000
locate_source() {
  window_position "$main"
  # The view starts at its first grid line down from the top of the window.
  read -r _ view_top _ <<<"$("$screenshot" --find "$grid_colour" $((geo_x + 20)) "$geo_y" 0 1)" ||
    fail "no grid found in the view"
  local found="" row left hit top height
  for ((row = 0; row < 400; row += 4)); do
    found=$("$screenshot" --find "$source_colour" "$geo_x" $((view_top + row)) 1 0) && break
  done
  [[ -n "$found" ]] || fail "no source found in the view"
  read -r left hit _ <<<"$found"
  read -r _ top height <<<"$("$screenshot" --find "$source_colour" "$left" $((hit - 8)) 0 1)"
  src_x=$((left + 20)) src_y=$((top + height / 2))
}
# A click relative to the source, in logical units (one per pixel at the start).
from_source() {
  xdotool mousemove $((src_x + $1)) $((src_y + $2))
  sleep 0.2
}

run_to_the_breakpoint() {
  focus "$main"
  xdotool key F7
  sleep 0.5
  menu_item 3 3 # while simulating: 停止, ステップ実行, 実行, then アニメーションなし実行
  find_window "$inner_title" 20 >/dev/null
}

start_on_design
locate_source
from_source 480 0 # the second inverter, instance 7
xdotool click --repeat 2 --delay 60 1
find_window "$inner_title" >/dev/null
sleep 0.5
locate_source
from_source 240 0 # its state machine, object 3
xdotool click 3
wait_window_count 2 "the context menu did not open"
keys Up Return # ブレークポイント, its last item
wait_window_count 1 "the context menu did not close"
shot breakpoint_set
menu_item 4 5 # エディット: モジュールの選択, back to the top
find_window "$top_title" >/dev/null

run_to_the_breakpoint
sleep 0.5
"$screenshot" "$out"
stored=$(cat "$XDG_STATE_HOME"/pelkor/breakpoints/*.txt 2>/dev/null) || fail "no breakpoint file"
grep -qxP 'on\tinverter\t3\tfire\tdouble_inverter/7' <<<"$stored" ||
  fail "the stored breakpoints are not the machine of instance 7: $stored"
cmp -s "$design" "$examples/double_inverter.dtn" || fail "the design file changed"
expected=$("$cli" run -q "$design" --break double_inverter/7:3 | grep '^breakpoint') || true
[[ "$expected" == "breakpoint double_inverter/7:3:fire (ステートマシン3) hit at step "* ]] ||
  fail "pelkor-cli does not stop at the breakpoint: $expected"
echo "$expected"

# The objects of the view, without the status bar and the log, whose lines differ.
view_shot() {
  "$screenshot" --region "$geo_x" "$view_top" $((WIDTH < 600 ? WIDTH : 600)) 220 "$work/$1.png"
}
# Waits until the view's picture is (`same`) or is not (`differs`) the one named.
wait_view() {
  local i
  for ((i = 0; i < 50; i++)); do
    view_shot now
    if cmp -s "$work/now.png" "$work/$2.png"; then [[ $1 == same ]] && return 0
    elif [[ $1 == differs ]]; then return 0; fi
    sleep 0.2
  done
  fail "the view never became $1 from $2"
}
xdotool mousemove 0 0 # no hover frame in the pictures
window_position "$main"
sleep 0.5
view_shot at_break
focus "$main"
keys ctrl+shift+F10 ctrl+shift+F10
wait_view differs at_break
shot two_steps_back
keys F5 # the animated run
wait_view same at_break

menu_item 3 0 # 停止
find_window "$top_title" >/dev/null
quit_pelkor

start_on_design
run_to_the_breakpoint
quit_pelkor

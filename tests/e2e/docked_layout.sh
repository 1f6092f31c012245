#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real pelkor on an example, at the screen and scale the environment gives: the
# window must fit the screen; the check's module tree and the log are docked beside the
# drawing, not windows of their own over it; the waveforms dock under the view. After a
# restart the window is where it was left.
#   docked_layout.sh PELKOR SCREENSHOT_TOOL DESIGN OUT.png
set -euo pipefail
pelkor=$1 screenshot=$2 design=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"
title="^$(basename "$design" .dtn) - pelkor\$"

start_on_design() {
  "$pelkor" --settings "$work/pelkor.ini" "$design" >"$work/pelkor.log" 2>&1 &
  app=$!
  main=$(find_window "$title" 30)
  focus "$main"
  sleep 0.5
}

# The main window's outer rectangle, into win_x, win_y, win_w and win_h.
window_rectangle() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
}

start_on_design
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
window_rectangle
((win_x >= 0 && win_y >= 0 && win_x + win_w <= screen_w && win_y + win_h <= screen_h)) ||
  fail "the window (${win_w}x${win_h}+${win_x}+${win_y}) does not fit the ${screen_w}x${screen_h} screen"

menu_item 3 7 # ツール: コンパイル, the check, which opens the module tree
menu_item 2 5 # 表示: ツール バー, ステータス バー, アウトプット, IDs, ツリー, 波形
sleep 1
for docked in 'モジュールツリー' 'アウトプット' '波形'; do
  if xdotool search --onlyvisible --name "^$docked\$" >/dev/null 2>&1; then
    fail "$docked shows as a window of its own instead of docked"
  fi
done
"$screenshot" "$out"

menu_item 2 4 # 表示: モジュールツリー表示, closed while simulating
# Moved and made smaller by the user (below where a title bar would be, as Qt keeps it).
xdotool windowsize --sync "$main" $((win_w * 3 / 4)) $((win_h * 3 / 4))
xdotool windowmove --sync "$main" 60 50
sleep 0.5
window_rectangle
before="${win_w}x${win_h}+${win_x}+${win_y}"
quit_pelkor
grep -q '^GEOMETRY=.' <(tr -d '\r' <"$work/pelkor.ini") || fail "the window's geometry was not saved"

start_on_design
window_rectangle
[[ "${win_w}x${win_h}+${win_x}+${win_y}" == "$before" ]] ||
  fail "the window came back at ${win_w}x${win_h}+${win_x}+${win_y}, not at $before"
quit_pelkor

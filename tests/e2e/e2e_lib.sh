# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the end-to-end scripts: they drive the real pelkor under the X server of
# xvfb-run with xdotool. Sourced by a script that sets `pelkor`, `cli` (pelkor-cli) and
# `screenshot` (the x11_screenshot tool) and runs under `set -euo pipefail`; pictures of the
# failing screen (and of the steps that `shot` names) go to $shots when it names a folder.
#
# There is no window manager under Xvfb: nothing gives the focus back to the main window
# when a dialog closes, so every keyboard step first focuses the window it types into.

work=$(mktemp -d)
app=""
cleanup() {
  if [[ -n "$app" ]]; then kill "$app" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e: $*" >&2
  shot "failure"
  if [[ -n "${shots:-}" ]]; then cp "$work"/*.dtn "$shots/" 2>/dev/null || true; fi
  if [[ -s "$work/pelkor.log" ]]; then grep -v XDG_RUNTIME_DIR "$work/pelkor.log" >&2 || true; fi
  exit 1
}

# A picture of the screen in $work, kept when the test fails, copied to $shots when it is set.
shot() {
  "$screenshot" "$work/$1.png" 2>/dev/null || return 0
  if [[ -n "${shots:-}" ]]; then cp "$work/$1.png" "$shots/$1.png"; fi
}

# The first visible window whose title matches the extended regular expression.
find_window() {
  local id
  id=$(timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
    true
  [[ -n "$id" ]] || fail "no window titled /$1/ appeared"
  echo "$id"
}

wait_window_gone() {
  for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the window titled /$1/ did not close"
}

# How many windows of pelkor are showing, popups (menus, tooltips) included.
window_count() {
  xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l
}

wait_window_count() {
  for ((i = 0; i < 30; i++)); do
    (($(window_count) == $1)) && return 0
    sleep 0.1
  done
  fail "expected $1 windows of pelkor, found $(window_count): $2"
}

# Top-left corner of a window on the screen, into geo_x and geo_y.
window_position() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  geo_x=$X geo_y=$Y
}

focus() {
  xdotool windowfocus --sync "$1"
  sleep 0.2
}

# Starts pelkor with a settings file of its own and no design; sets app and main.
start_pelkor() {
  "$pelkor" --settings "$work/pelkor.ini" >"$work/pelkor.log" 2>&1 &
  app=$!
  main=$(find_window ' - pelkor$' 30)
  focus "$main"
  sleep 0.5
  locate_view
}

# The view shows logical (0, 0) in its top-left pixel at start, with one logical unit per
# pixel, and draws grid lines 3 pixels wide centred on multiples of the grid size (40 by
# default, in the colour 255, 196, 228). The centre of the first line met across the view
# gives the screen position of the view's logical origin: view_x, view_y.
grid_colour=FFC4E4
grid_size=40
first_grid_line() {
  local found
  found=$("$screenshot" --find "$grid_colour" "$@" 2>/dev/null) || return 1
  read -r line_x line_y line_run <<<"$found"
  ((line_run == 3))
}

locate_view() {
  window_position "$main"
  local row
  view_x=""
  for row in 300 320; do # a row that runs along a horizontal line is tried again lower
    if first_grid_line "$geo_x" $((geo_y + row)) 1 0; then
      view_x=$((line_x + 1 - grid_size))
      break
    fi
  done
  [[ -n "$view_x" ]] || fail "no vertical grid line found in the view"
  first_grid_line $((view_x + grid_size / 2)) "$geo_y" 0 1 ||
    fail "no horizontal grid line found in the view"
  view_y=$((line_y + 1 - grid_size))
}

# Mouse actions at a logical point of the view. (mousemove --sync would wait for a motion
# that never comes when the pointer is already there.)
at() {
  xdotool mousemove $((view_x + $1)) $((view_y + $2))
  sleep 0.15
}
click() {
  at "$1" "$2"
  xdotool click 1
  sleep 0.25
}
double_click() {
  at "$1" "$2"
  xdotool click --repeat 2 --delay 60 1
  sleep 0.3
}
right_click() {
  at "$1" "$2"
  xdotool click 3
  sleep 0.3
}

# Opens a menu of the main window by keyboard and moves to the item `down` steps below the
# first enabled one: `menu_item MENU DOWN`, with MENU the number of menus to the right of
# ファイル. Each menu's popup is waited for.
menu_item() {
  focus "$main"
  local before
  before=$(window_count)
  xdotool key alt+f
  wait_window_count $((before + 1)) "the ファイル menu did not open"
  for ((i = 0; i < $1; i++)); do
    xdotool key Right
    sleep 0.25
  done
  for ((i = 0; i < $2; i++)); do
    xdotool key Down
    sleep 0.1
  done
  xdotool key Return
  wait_window_gone '^pelkor$' # popups are titled with the application's name
}

# The tools, in the order of the ツール menu.
tool_shift_register=0 tool_state_machine=1 tool_counter=2 tool_source=3 tool_sink=4 tool_arc=5
tool() { menu_item 3 "$1"; }
move_tool() { menu_item 4 1; } # エディット: 消しゴム, then 移動

# Types into the focused control of a dialog.
type_text() {
  xdotool type --delay 40 "$1"
  sleep 0.1
}
keys() {
  xdotool key --delay 60 "$@"
  sleep 0.1
}

# Waits for a dialog, focuses it and leaves its id in `dialog`.
open_dialog() {
  dialog=$(find_window "^$1\$")
  focus "$dialog"
}

# Waits for a second window with the title of an open one (the state dialog inside the state
# machine editor) and focuses it; leaves its id in `inner`.
open_inner_dialog() {
  inner=""
  for ((i = 0; i < 50; i++)); do
    inner=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$2" | head -n 1) ||
      true
    [[ -n "$inner" ]] && break
    sleep 0.1
  done
  [[ -n "$inner" ]] || fail "no second window titled $1 appeared"
  focus "$inner"
}

wait_inner_gone() {
  for ((i = 0; i < 50; i++)); do
    (($(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l) <= 1)) && return 0
    sleep 0.1
  done
  fail "the second window titled $1 did not close"
}

# Waits for the state machine editor a double-click opened; sets editor, editor_x, editor_y.
# Its menu ツール (アーク, ステート, 消しゴム) is the first of its menu bar, and its drawing
# surface fills the dialog below the tool bar but for margins of 10 pixels and a column of
# buttons on the right, so points from (100, 100) to (500, 350) lie well inside it.
open_machine_editor() {
  open_dialog ステートマシン
  editor=$dialog
  window_position "$editor"
  editor_x=$geo_x editor_y=$geo_y
}

# Chooses a tool in the editor's menu: 1 アーク, 2 ステート, 3 消しゴム.
machine_tool() {
  focus "$editor"
  local before
  before=$(window_count)
  xdotool mousemove --sync $((editor_x + 20)) $((editor_y + 8)) click 1
  wait_window_count $((before + 1)) "the editor's ツール menu did not open"
  for ((i = 0; i < $1; i++)); do keys Down; done
  keys Return
  wait_window_count "$before" "the editor's menu did not close"
}

# Clicks `count` times at a point of the editor's window.
on_surface() {
  xdotool mousemove $((editor_x + $1)) $((editor_y + $2))
  sleep 0.15
  xdotool click --repeat "$3" --delay 60 1
  sleep 0.3
}

# Saves through 名前を付けて保存 and the file dialog, typing the path.
save_as() {
  focus "$main"
  xdotool key alt+f
  sleep 0.4
  xdotool key a
  local chooser
  chooser=$(find_window '^(Save As|名前を付けて保存)$')
  focus "$chooser"
  type_text "$1"
  keys Return
  wait_window_gone '^(Save As|名前を付けて保存)$'
  find_window "^$(basename "$1") - pelkor\$" >/dev/null
  [[ -s "$1" ]] || fail "nothing was saved to $1"
}

# Quits through アプリケーションの終了; the design must have been saved, as no question may
# stop the way out.
quit_pelkor() {
  focus "$main"
  xdotool key alt+f
  sleep 0.4
  xdotool key x
  for ((i = 0; i < 50; i++)); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$app" 2>/dev/null && fail "pelkor did not quit through its menu"
  wait "$app" || fail "pelkor exited with an error"
  app=""
}

# Checks a line of a saved design (whose lines end with CR LF): `expect_line FILE -xF TEXT`
# for the whole line, `expect_line FILE -E PATTERN` for a pattern.
expect_line() {
  local text
  text=$(tr -d '\r' <"$1")
  grep -q "$2" -- "$3" <<<"$text" || fail "the saved design has no line matching $3"
}

# Runs a saved design with pelkor-cli; it must pass with the sink's values.
expect_run_passes() {
  local report
  report=$("$cli" -q run "$1") || fail "pelkor-cli run does not pass the saved design: $report"
  echo "$report"
  grep -q "received $2, expected $2: pass" <<<"$report" || fail "the sink did not pass"
}

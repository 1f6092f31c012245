#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Saving through the real window writes the file the title names: a new design saved as
# mine.dtn, changed and saved with Ctrl+S, updates mine.dtn (no untitle.dtn appears). A save
# that cannot write, into a folder removed meanwhile, shows a message box and the "*" stays.
#   save_where_the_title_says.sh PELKOR PELKOR_CLI SCREENSHOT_TOOL OUT.png
set -euo pipefail
pelkor=$1 cli=$2 screenshot=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"

# How many shift registers a saved design holds.
registers() {
  grep -c '^shift\[' "$1" || true
}

# Waits until the main window has this title.
wait_title() {
  for ((i = 0; i < 50; i++)); do
    [[ "$(xdotool getwindowname "$main")" == "$1" ]] && return 0
    sleep 0.1
  done
  fail "the title is '$(xdotool getwindowname "$main")', not '$1'"
}

save() {
  focus "$main"
  xdotool key ctrl+s
}

start_pelkor
tool $tool_shift_register
click 100 100
save_as "$work/mine.dtn"
click 220 100
wait_title 'mine.dtn* - pelkor'
save
wait_title 'mine.dtn - pelkor'
(($(registers "$work/mine.dtn") == 2)) || fail "Ctrl+S did not write mine.dtn"
[[ ! -e "$work/untitle.dtn" ]] || fail "Ctrl+S wrote untitle.dtn"

# Saved into a folder of its own, which then goes away.
mkdir "$work/sub"
save_as "$work/sub/gone.dtn"
click 340 100
wait_title 'gone.dtn* - pelkor'
rm -rf "$work/sub"
windows=$(window_count)
before=$(xdotool search --onlyvisible --pid "$app" | sort)
save
wait_window_count $((windows + 1)) "no message box for the failed save"
shot failed_save
"$screenshot" "$out"
box=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --pid "$app" | sort))
focus "$box"
keys Return
wait_window_count "$windows" "the message box did not close"
wait_title 'gone.dtn* - pelkor'
[[ ! -e "$work/sub" ]] || fail "the failed save made the folder again"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws in an empty pelkor window, starts a check (which writes the recovery copies), kills
# pelkor with SIGKILL, starts it again, restores through the question it asks, and compares
# the restored module, saved through the file dialog, with the copy written before the kill.
#   recover_after_kill.sh PELKOR SCREENSHOT_TOOL OUT.png
set -euo pipefail
pelkor=$1 screenshot=$2 out=$3
source "$(dirname "$0")/e2e_lib.sh"

# The recovery copies go to a state folder of the test's own.
export XDG_STATE_HOME="$work/state"
recovery="$XDG_STATE_HOME/pelkor/recovery"

start_pelkor
tool $tool_shift_register
click 100 100
click 220 100
tool $tool_source
click 340 100
find_window '^untitle\* - pelkor$' >/dev/null
menu_item 3 7 # コンパイル, the check

copy=""
for ((i = 0; i < 100; i++)); do
  copy=$(find "$recovery" -path '*/session-*/untitle.dtn' 2>/dev/null | head -n 1)
  [[ -n "$copy" ]] && break
  sleep 0.1
done
[[ -n "$copy" ]] || fail "the check wrote no recovery copy"
cp "$copy" "$work/drawn.dtn"
grep -c '^shift\[' "$work/drawn.dtn" | grep -qx 2 || fail "the copy does not hold both registers"
grep -q '^uhzi\[' "$work/drawn.dtn" || fail "the copy does not hold the source"

kill -KILL "$app"
wait "$app" 2>/dev/null || true
app=""

"$pelkor" --settings "$work/pelkor.ini" >"$work/pelkor.log" 2>&1 &
app=$!
main=$(find_window ' - pelkor$' 30)
open_dialog 変更の復元
"$screenshot" "$out"
keys alt+r
wait_window_gone '^変更の復元$'
find_window '^untitle\* - pelkor$' >/dev/null
shot restored

save_as "$work/restored.dtn"
cmp -s "$work/drawn.dtn" "$work/restored.dtn" ||
  fail "the restored module differs from what was drawn: $(diff <(tr -d '\r' <"$work/drawn.dtn") <(tr -d '\r' <"$work/restored.dtn"))"
quit_pelkor
# A clean end leaves no copy behind, and the session the kill left was taken over.
[[ -z "$(ls -A "$recovery")" ]] || fail "recovery copies remain after a clean end: $(ls -A "$recovery")"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real pelkor on an example under the X server of xvfb-run, checks and runs it
# through the menus with synthesized keys, takes a screenshot and quits through the menu.
#   run_example.sh PELKOR SCREENSHOT_TOOL DESIGN OUT.png
set -euo pipefail
pelkor=$1 screenshot=$2 design=$3 out=$4
source "$(dirname "$0")/e2e_lib.sh"

"$pelkor" --settings "$work/pelkor.ini" "$design" &
app=$!
main=$(find_window "^$(basename "$design" .dtn) - pelkor\$" 30)
focus "$main"
sleep 0.5

# The ツール menu by keyboard; it opens with its first enabled item highlighted and Down skips
# disabled items.
menu_item 3 7 # from シフトレジスタ down to コンパイル, the check
menu_item 3 2 # while simulating: from 停止 past ステップ実行 to 実行, the animated run
sleep 2
"$screenshot" "$out"

quit_pelkor
test -s "$work/pelkor.ini" || fail "pelkor did not write its settings on exit"
test -s "$out"

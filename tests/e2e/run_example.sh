#!/usr/bin/env bash
# Starts the real pelkor on an example under the X server of xvfb-run, checks and runs it
# through the menus with synthesized keys, takes a screenshot and quits through the menu.
#   run_example.sh PELKOR SCREENSHOT_TOOL DESIGN OUT.png
set -euo pipefail
pelkor=$1 screenshot=$2 design=$3 out=$4
work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null || true; rm -rf "$work"' EXIT

"$pelkor" --settings "$work/pelkor.ini" "$design" &
app=$!
title="$(basename "$design" .dtn) - pelkor"
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
xdotool windowfocus --sync "$window"
sleep 0.5

# Menus by keyboard: Alt+F opens ファイル, Right moves on to 編集, 表示 and ツール, which opens
# with its first enabled item highlighted; Down skips disabled items.
menu_item() {
  xdotool key alt+f
  sleep 0.4
  for ((i = 0; i < 3; i++)); do xdotool key Right; sleep 0.3; done
  for ((i = 0; i < $1; i++)); do xdotool key Down; sleep 0.1; done
  xdotool key Return
  sleep 0.5
}
menu_item 7    # from シフトレジスタ down to コンパイル, the check
menu_item 2    # while simulating: from 停止 past ステップ実行 to 実行, the animated run
sleep 2
"$screenshot" "$out"

# ファイル, then Up to its last item, アプリケーションの終了.
xdotool key alt+f
sleep 0.4
xdotool key Up
sleep 0.2
xdotool key Return
for ((i = 0; i < 50; i++)); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$app" 2>/dev/null; then
  echo "pelkor did not quit through its menu" >&2
  exit 1
fi
wait "$app"
test -s "$work/pelkor.ini" || { echo "pelkor did not write its settings on exit" >&2; exit 1; }
test -s "$out"

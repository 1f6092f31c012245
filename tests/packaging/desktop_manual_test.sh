#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page pelkor(1) is written by hand, so it is held against pelkor --help: the same
# options on both, and the argument of the usage line on the page.
set -euo pipefail
binary=$1
manual=$2

# Option names, one a line, sorted.
names() {
  grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u
}
help=$("$binary" --help)
# The heading is Qt's, in Japanese where Qt's translations are installed.
from_help=$(sed -En '/^(Options|オプション):/,/^$/p' <<<"$help" | grep -E '^ +-' | sed -E 's/^ +//; s/  .*//' | names)
# The heading lines of the page's option list, roff escapes undone.
from_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH/p' "$manual" | grep -A1 '^\.TP' | grep -v '^\.TP\|^--$' |
  sed -e 's/\\f[BIR]//g' -e 's/\\-/-/g' -e 's/^\.[A-Z]* //' | names)
if [[ $from_help != "$from_page" ]]; then
  echo "pelkor --help and the manual page list different options:"
  diff <(echo "$from_help") <(echo "$from_page") || true
  exit 1
fi
argument=$(head -1 <<<"$help" | grep -oE '\[[A-Z.a-z]+\]$')
grep -qF "${argument//[][]/}" "$manual"

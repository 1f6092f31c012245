#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the license's SPDX line at the top of every source file (C++, CMake, shell, Python)
# that lacks it, below a shebang, in the comment syntax of the file's language. Running it
# again changes nothing. With --check it changes nothing at all: it lists the files that lack
# the line and fails when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
readonly line="SPDX-License-Identifier: GPL-3.0-or-later"
check=false
if [[ ${1:-} == --check ]]; then
  check=true
fi

# The tracked source files, or in a copy without git every such file outside build folders.
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h' '*.cmake' '*CMakeLists.txt' '*.sh' '*.py'
  else
    find . \( -name build -o -name .git \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \
      -o -name '*.cmake' -o -name CMakeLists.txt -o -name '*.sh' -o -name '*.py' \) -print0
  fi
}

missing=0
while IFS= read -r -d '' file; do
  [[ -f $file ]] || continue
  first=$(head -n 1 "$file")
  # The line stands first, or second below a shebang.
  if [[ $first == '#!'* ]]; then
    top=$(sed -n 2p "$file")
  else
    top=$first
  fi
  [[ $top == *"$line"* ]] && continue
  if $check; then
    echo "no SPDX line: $file"
    missing=1
    continue
  fi
  case $file in
    *.cpp | *.h) comment="// $line" ;;
    *) comment="# $line" ;;
  esac
  if [[ $first == '#!'* ]]; then
    text=$(
      head -n 1 "$file"
      echo "$comment"
      tail -n +2 "$file"
      echo x
    )
  else
    text=$(
      echo "$comment"
      cat "$file"
      echo x
    )
  fi
  # Written in place, so the file keeps its mode; the x kept the last line ends.
  printf '%s' "${text%x}" >"$file"
done < <(sources)
exit $missing

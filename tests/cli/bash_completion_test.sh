#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Completes pelkor-cli command lines as bash does once bash-completion has loaded the
# completion that the build made: commands, options, option values and design files.
set -euo pipefail
completion=$1
examples=$2
# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$completion"

# The words offered for the last word of a command line, sorted, on one line.
offered() {
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  read -ra COMP_WORDS <<<"$COMP_LINE"
  if [[ $COMP_LINE == *" " ]]; then
    COMP_WORDS+=("")
  fi
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _pelkor_cli pelkor-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}

failed=0
expect() {
  local got
  got=$(offered "$1")
  if [[ $got != "$2" ]]; then
    echo "'$1' offered '$got', not '$2'"
    failed=1
  fi
}

cd "$examples"
expect "pelkor-cli " "check diff export fmt render run serve test"
expect "pelkor-cli -q te" "test"
expect "pelkor-cli fmt --enc" "--encoding"
expect "pelkor-cli fmt --encoding " "cp932 utf-8"
expect "pelkor-cli run --report j" "json"
expect "pelkor-cli test --shard " "auto"
expect "pelkor-cli test --shard-count " ""
expect "pelkor-cli diff --" "--git --help --json --quiet --svg --version"
expect "pelkor-cli run full" "full_adder.dtn"
expect "pelkor-cli -q check d" "demultiplexer.dtn double_inverter.dtn dynamic_pipe.dtn"
exit $failed

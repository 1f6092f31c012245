#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of a built build folder with CPack, has lintian judge it (any
# error or warning fails), and looks into it: the manual pages man finds, the completion,
# the examples, a binary that runs, the Python package with its pytest plugin.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(echo "$work"/pelkor_*.deb)

# Informational tags are shown as well. One is expected where the test runs in a Debug build
# (./test.sh's sanitizer build): hardening-no-fortify-functions, as _FORTIFY_SOURCE takes
# effect only where the compiler optimizes; the Release build that run.sh makes and the README
# packages defines it.
lintian --fail-on error,warning --display-info "$deb"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
for page in pelkor pelkor-cli; do
  MANPATH=$root/usr/share/man man -w "$page" >/dev/null
  MANWIDTH=80 MANPATH=$root/usr/share/man man "$page" | grep -q "^NAME"
done
test -f "$root/usr/share/bash-completion/completions/pelkor-cli"
test -f "$root/usr/share/doc/pelkor/examples/full_adder.dtn"
"$root/usr/bin/pelkor-cli" test "$root/usr/share/doc/pelkor/examples" >/dev/null
# The example testbench, run by Debian's Python (the one the package depends on) from the
# package's examples with its Python modules, their metadata (the plugin's entry point) and its
# pelkor-cli.
PYTHONPATH=$root/usr/lib/python3/dist-packages PELKOR_CLI=$root/usr/bin/pelkor-cli \
  PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest -q -p no:cacheprovider \
  "$root/usr/share/doc/pelkor/examples/python" >/dev/null
echo "package, manual pages, completion, examples and Python package as expected"

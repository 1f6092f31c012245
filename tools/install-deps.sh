#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need (gtkwave reads back the
# waveform files, python3 parses the JUnit reports and python3-pytest tests the Python package,
# poppler-utils reads back printed PDF files,
# git and bash-completion try the diff driver and the completion, man-db and lintian judge the
# manual pages and the package),
# only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libfmt-dev nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev qt6-translations-l10n
          fonts-ipafont-gothic xvfb xauth xdotool desktop-file-utils appstream dpkg-dev
          gtkwave python3 python3-pytest poppler-utils git bash-completion man-db lintian)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

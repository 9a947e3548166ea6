#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gradescope runs this once, as root, when it builds the autograder's image:
# it installs korvane-cli from the package packed beside it (no window, no
# GUI libraries).
set -euo pipefail
cd "$(dirname "$0")"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./korvane-cli_*.deb

#!/usr/bin/env bash
# Screenshots of the main window after a deal and of the other three windows, under Xvfb.
# Needs the release build with its tools (./run.sh test) and the xvfb package.
set -euo pipefail
cd "$(dirname "$0")/.."
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  build/release/tools/screenshot/screenshot docs/main-window.png docs/reward-window.png \
  docs/loan-window.png docs/help-window.png
echo "docs/main-window.png docs/reward-window.png docs/loan-window.png docs/help-window.png"

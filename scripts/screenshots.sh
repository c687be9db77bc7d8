#!/usr/bin/env bash
# Builds the screenshot tool and takes a picture of every window into
# docs/screenshots/, on a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --gui
command -v xvfb-run >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo; $sudo apt-get install -y -qq xvfb xauth; }
bash scripts/build.sh
cmake --build build --target sw52k31_screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/sw52k31_screenshots docs/screenshots
ls docs/screenshots

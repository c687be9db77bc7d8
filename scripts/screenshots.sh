#!/usr/bin/env bash
# Builds the screenshot programs and takes a picture of every window into
# docs/screenshots/, on a virtual X server: the main window and its dialogs
# (tools/), the parameter window and the three table windows (beside their
# suites in tests/, whose fixtures they use; ctest does not run them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --gui
command -v xvfb-run >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo; $sudo apt-get install -y -qq xvfb xauth; }
bash scripts/build.sh
cmake --build build --target sw52k31_screenshots pargen_screenshots table_screenshots
shoot() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }
shoot build/tools/sw52k31_screenshots docs/screenshots
export SW52K31_SCREENSHOTS=docs/screenshots
shoot build/tests/params/pargen_screenshots
shoot build/tests/tables/table_screenshots
ls docs/screenshots

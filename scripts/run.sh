#!/usr/bin/env bash
# Installs what is missing, builds and starts the configurator.
# Arguments are passed to the program (for example --workspace DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --gui
bash scripts/build.sh --target sw52k31
exec build/sw52k31 "$@"

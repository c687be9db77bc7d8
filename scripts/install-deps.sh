#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when missing.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev libpugixml-dev libxkbcommon-dev iproute2 procps python3
          desktop-file-utils)
# The tests' sanitizer build and fuzz targets (not needed to run the program):
# clang with its sanitizer and libFuzzer runtimes, llvm-symbolizer for traces.
[ "${1:-}" = "--gui" ] || packages+=(clang libclang-rt-14-dev llvm)
if [ "${1:-}" = "--gui" ]; then
  packages+=(qt6-qpa-plugins fonts-dejavu-core)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run this command again:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

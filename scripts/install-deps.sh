#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when missing.
#
#   bash scripts/install-deps.sh [--gui] [--sanitizers]
#
# Without options: the compiler, the build tools, clang-format (the format
# check), Qt, pugixml and what the normal tests use, among them tshark (the
# BACnet judge tests decode their captures with it) and Node.js with npm (the
# judges' BACnet stack runs on it: the machine's own node when it is 20 or
# newer, else Debian's nodejs and npm). --gui adds what the windows need on a desktop (Qt's
# platform plugins, a font); --sanitizers adds clang with its sanitizer and
# libFuzzer runtimes and llvm-symbolizer for traces (the sanitizer build and
# the fuzz targets only).
#
# As root it installs with apt-get; otherwise through sudo when sudo works
# without a question, or after asking for the password at a terminal. When
# that cannot be done (no sudo, not in the sudoers file, no terminal), it
# prints the missing packages and the command to run as root, and exits 1.
set -euo pipefail

packages=(g++ cmake ninja-build ccache clang-format qt6-base-dev libpugixml-dev libxkbcommon-dev iproute2 procps
          python3 desktop-file-utils tshark)
node_major=$(node --version 2>/dev/null | sed -n 's/^v\([0-9]*\)\..*/\1/p')
if [ "${node_major:-0}" -lt 20 ] || ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi
for option in "$@"; do
  case "$option" in
    --gui) packages+=(qt6-qpa-plugins fonts-dejavu-core) ;;
    --sanitizers) packages+=(clang libclang-rt-14-dev llvm) ;;
    *) echo "unknown option $option (use --gui, --sanitizers)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

ask_root() {
  echo "These packages are missing: ${missing[*]}" >&2
  echo "Install them as root, then run this command again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
}

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || ask_root
  if sudo -n true 2>/dev/null; then
    sudo=(sudo -n)
  elif [ -t 0 ] && sudo -v; then
    sudo=(sudo)
  else
    echo "sudo cannot be used here." >&2
    ask_root
  fi
fi
echo "Installing: ${missing[*]}"
install() {
  # tshark's package asks whether to let every user capture; it may not.
  echo "wireshark-common wireshark-common/install-setuid boolean false" | "${sudo[@]}" debconf-set-selections &&
    "${sudo[@]}" apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
if [ ${#sudo[@]} -eq 0 ]; then
  install
else
  install || { echo "Installing through sudo failed." >&2; ask_root; }
fi

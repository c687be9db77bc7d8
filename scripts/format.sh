#!/usr/bin/env bash
# Formats every C++ source of the project by .clang-format, with the
# clang-format that Debian 12 ships (version 14); a newer one may lay some
# lines out differently.
#
#   bash scripts/format.sh           rewrites the files that differ
#   bash scripts/format.sh --check   lists them and exits 1 (test.sh runs this)
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests bench fuzz tools -name '*.cpp' -o -name '*.h' | sort)
fi

if [ "${1:-}" = "--check" ]; then
  differ=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
  done
  if [ ${#differ[@]} -gt 0 ]; then
    printf '%s\n' "${differ[@]}"
    echo "${#differ[@]} file(s) differ from .clang-format: run bash scripts/format.sh" >&2
    exit 1
  fi
  echo "${#files[@]} files formatted as .clang-format says"
  exit 0
fi
clang-format -i "${files[@]}"

#!/usr/bin/env bash
# Builds the project in Release into build-release/ and runs every benchmark
# (every bench_* executable), then prints one table: each figure beside its
# floor and their ratio (bench/README.md defines the lines they print).
#
#   bash scripts/bench.sh [--markdown]
#
# --markdown prints the table for docs/BENCHMARKS.md. Exits 1 when a
# benchmark fails or a ratio is above its limit.
set -euo pipefail
cd "$(dirname "$0")/.."

format=text
[ "${1:-}" = "--markdown" ] && format=markdown

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW_BUILD_TESTS=OFF -DSW_BUILD_BENCH=ON >/dev/null
cmake --build build-release -j 2 >/dev/null

logs=build-release/bench-logs
mkdir -p "$logs"
lines=$(mktemp)
trap 'rm -f "$lines"' EXIT
failed=0
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
for program in build-release/bench/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  name=$(basename "$program")
  echo "running $name ..." >&2
  status=0
  "$program" >"$logs/$name.log" 2>&1 || status=$?
  if [ $status -ne 0 ]; then
    echo "$name ended with code $status (see $logs/$name.log)" >&2
    failed=1
  fi
  if ! grep -q '^BENCH ' "$logs/$name.log"; then
    echo "$name printed no BENCH line (bench/README.md): its figures are not in the table" >&2
  fi
  grep '^BENCH ' "$logs/$name.log" | sed "s/^BENCH /$name /" >>"$lines" || true
done

if [ ! -s "$lines" ]; then
  echo "no benchmark printed a BENCH line" >&2
  exit 1
fi

# Fields: program name value floor unit limit text... ("figure | floor figure").
awk -v format="$format" '
  {
    program = $1; name = $2; value = $3; floor = $4; unit = $5; limit = $6
    text = ""
    for (i = 7; i <= NF; i++) text = text (i > 7 ? " " : "") $i
    split(text, parts, / \| /)
    ratio = floor > 0 ? value / floor : 0
    over = (limit != "-" && ratio > limit + 0)
    if (over) bad = 1
    status = over ? "OVER" : "ok"
    if (format == "markdown") {
      if (NR == 1) {
        print "| Figure | Value | Floor | Value | Ratio | Limit | |"
        print "|---|---:|---|---:|---:|---:|---|"
      }
      printf "| %s (`%s`) | %s %s | %s | %s %s | %.2f | %s | %s |\n", parts[1], name, value, unit, parts[2], floor, unit, ratio, limit, status
    } else {
      if (NR == 1)
        printf "%-18s %-58s %12s   %-48s %12s %7s %6s\n", "benchmark", "figure", "value", "floor", "value", "ratio", "limit"
      printf "%-18s %-58s %9s %-2s   %-48s %9s %-2s %7.2f %6s  %s\n", name, substr(parts[1], 1, 58), value, unit, substr(parts[2], 1, 48), floor, unit, ratio, limit, status
    }
  }
  END { exit bad }
' "$lines" || failed=1

exit $failed

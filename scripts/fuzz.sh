#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a given time.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET ...]
#
# SECONDS defaults to 60 per target; without TARGETs every target runs.
# FUZZ_JOBS=2 runs two targets at a time (the default is one).
# Each target starts from its seeds in fuzz/corpus/TARGET and keeps what it
# finds in build-fuzz/corpus/TARGET (never in the repository). An input that
# crashes, hangs or breaks a property is saved in build-fuzz/findings/TARGET/.
# Prints one line per target with its runs; exits 1 when any target found
# something.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
shift || true
jobs=${FUZZ_JOBS:-1}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSW_FUZZ=ON -DSW_BUILD_TESTS=OFF -DSW_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 2 --target fuzz_all

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:abort_on_error=1"

dict_of() {
  case "$1" in
    fuzz_language) echo fuzz/dict/language.dict ;;
    fuzz_int_read | fuzz_ip_address | fuzz_version_reply | fuzz_bank_dump) echo fuzz/dict/text.dict ;;
    fuzz_clipboard) echo fuzz/dict/clipboard.dict ;;
    fuzz_points) echo fuzz/dict/points.dict ;;
    *) echo fuzz/dict/xml.dict ;;
  esac
}

run_one() {
  local target=$1
  local corpus=build-fuzz/corpus/$target findings=build-fuzz/findings/$target log=build-fuzz/logs/$target.log
  mkdir -p "$corpus" "$findings" build-fuzz/logs
  local max_len=4096
  case "$target" in fuzz_document | fuzz_compile | fuzz_ede | fuzz_settings | fuzz_language) max_len=32768 ;; esac
  local status=0
  "build-fuzz/fuzz/$target" "$corpus" "fuzz/corpus/$target" \
    -dict="$(dict_of "$target")" -max_total_time="$seconds" -max_len=$max_len -timeout=30 \
    -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    printf '%-20s %6ss %12s runs  no finding\n' "$target" "$seconds" "${runs:-?}"
  else
    printf '%-20s %6ss %12s runs  FINDING (exit %d): see %s and %s\n' "$target" "$seconds" "${runs:-?}" \
      "$status" "$log" "$findings"
    return 1
  fi
}

failed=0
pids=()
for target in "${targets[@]}"; do
  if [ ! -x "build-fuzz/fuzz/$target" ]; then
    echo "no fuzz target $target" >&2
    exit 2
  fi
  run_one "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed

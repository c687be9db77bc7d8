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
# something. First checks that the targets run where /dev/shm cannot be
# written.
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
    fuzz_bacnet_packet) echo fuzz/dict/bacnet.dict ;;
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

# A minimal system may have a /dev/shm that its user cannot write; the
# targets then keep their scratch files in the temporary folder. Checked on
# every run: one target runs one seed with /dev/shm read-only in a mount
# namespace of its own (as root, or in a user namespace), where a folder
# there cannot be made.
check_scratch_fallback() {
  local seed ns=() log=build-fuzz/logs/scratch_fallback.log
  mkdir -p build-fuzz/logs
  seed=$(find fuzz/corpus/fuzz_document -type f | sort | head -1)
  if unshare -m true 2>/dev/null; then
    ns=(unshare -m)
  elif unshare -r -m true 2>/dev/null; then
    ns=(unshare -r -m)
  else
    echo "scratch fallback: not checked (no mount namespace can be made here)"
    return 0
  fi
  if "${ns[@]}" sh -c 'mount -t tmpfs -o ro tmpfs /dev/shm && exec "$@"' sh \
    build-fuzz/fuzz/fuzz_document "$seed" >"$log" 2>&1; then
    echo "scratch fallback: a read-only /dev/shm is passed by"
  else
    echo "scratch fallback: FAILED with /dev/shm read-only (see $log)"
    return 1
  fi
}

failed=0
check_scratch_fallback || failed=1
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

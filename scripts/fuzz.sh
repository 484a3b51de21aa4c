#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ (clang's libFuzzer with AddressSanitizer and UBSan) in a
# folder of their own and runs every target for N seconds (default 60), side by side. Fails on
# any crash, leak, sanitizer report, time-out or excess memory; a time-out that its input, run
# again alone, does not repeat is shown but fails nothing. A reproducer is kept in
# <build>/findings/<target>/; copied into tests/fuzz/regressions/<target>/ it becomes a
# regression case of the ordinary test run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="${2:?--seconds needs a number}"; shift 2 ;;
    *) echo "usage: $0 [--seconds N]" >&2; exit 2 ;;
  esac
done
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "--seconds needs a positive whole number" >&2; exit 2; }

scripts/install-deps.sh
source scripts/sanitizers.sh
build="${QUARX_FUZZ_BUILD_DIR:-build-fuzz}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${sanitizer_cmake_args[@]}" -DQUARX_FUZZ=ON >/dev/null
cmake --build "$build" --target quarx_fuzz -j"$(nproc)"

targets=(package_reader control_xml pattern discovery_ack)
fuzz="$build/tests/fuzz"
# A slow input is a hang: no package, pattern or datagram may keep the tool busy for seconds
# (the limit leaves room for the sanitizers' own slowdown).
limits=(-timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1)
pids=()
for t in "${targets[@]}"; do
  # The working corpus grows from run to run; the seeds are read, never written.
  mkdir -p "$build/corpus/$t" "$build/findings/$t" "$build/logs"
  dict=()
  [ -f "tests/fuzz/$t.dict" ] && dict=(-dict="tests/fuzz/$t.dict")
  # Patterns and values up to their caps (1024 and 4096 bytes, a NUL between) from the start,
  # not grown slowly from short inputs.
  extra=()
  [ "$t" = pattern ] && extra=(-max_len=5121 -len_control=0)
  "$fuzz/${t}_fuzz" "${limits[@]}" "${dict[@]}" "${extra[@]}" -max_total_time="$seconds" -artifact_prefix="$build/findings/$t/" \
    "$build/corpus/$t" "$fuzz/seeds/$t" >"$build/logs/$t.log" 2>&1 </dev/null &
  pids+=($!)
done

# The input a target stopped on, as libFuzzer named it.
finding() { sed -n 's/.*Test unit written to //p' "$build/logs/$1.log" | tail -n 1; }

# A time-out is a wall-clock window, and a machine can stall (a busy or paused host) with any
# input in flight. The input is run again on its own, three times under the same limits: a
# time-out that comes back is a finding, one that does not is shown with its input but fails
# nothing.
timeout_not_repeated() {
  local t="$1" unit run
  grep -q 'ERROR: libFuzzer: timeout' "$build/logs/$t.log" || return 1
  unit="$(finding "$t")"
  [ -f "$unit" ] || return 1
  for run in 1 2 3; do
    "$fuzz/${t}_fuzz" "${limits[@]}" "$unit" >"$build/logs/$t.replay$run.log" 2>&1 </dev/null || return 1
  done
}

failed=()
shown=()
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  if wait "${pids[$i]}"; then
    status=ok
  elif timeout_not_repeated "$t"; then
    status=stall; shown+=("$t")
  else
    status=FAILED; failed+=("$t"); shown+=("$t")
  fi
  # libFuzzer's last status line: executions, coverage, corpus.
  stats="$(grep -E '^#[0-9]+[[:space:]]' "$build/logs/$t.log" | tail -n 1 || true)"
  printf '%-15s %-6s %s\n' "$t" "$status" "${stats:-no status line, see $build/logs/$t.log}"
done

# A CI log is all that is left of a run on a machine of its own: where the target stood (the
# report and its stacks) and the input itself, in base64.
for t in "${shown[@]}"; do
  echo
  if [[ " ${failed[*]} " == *" $t "* ]]; then
    echo "=== $t: $build/logs/$t.log"
  else
    echo "=== $t: a time-out that three runs of its input alone did not repeat (a stall of the machine): $build/logs/$t.log"
  fi
  report="$(sed -n '/ERROR: /,/SUMMARY/p' "$build/logs/$t.log" | head -n 60)"
  printf '%s\n' "${report:-$(tail -n 30 "$build/logs/$t.log")}"
  unit="$(finding "$t")"
  if [ -f "$unit" ]; then
    echo "Input: $unit, $(stat -c %s "$unit") bytes, base64:"
    head -c 8192 "$unit" | base64
  fi
  echo "Replay: $fuzz/${t}_fuzz <file in $build/findings/$t/>"
  echo "Keep as a regression case: copy it into tests/fuzz/regressions/$t/"
done
[ ${#failed[@]} -eq 0 ]

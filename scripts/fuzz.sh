#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ (clang's libFuzzer with AddressSanitizer and UBSan) in a
# folder of their own and runs every target for N seconds (default 60), side by side. Fails on
# any crash, leak, sanitizer report, time-out or excess memory. A reproducer is kept in
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
  "$fuzz/${t}_fuzz" "${limits[@]}" "${dict[@]}" -max_total_time="$seconds" -artifact_prefix="$build/findings/$t/" \
    "$build/corpus/$t" "$fuzz/seeds/$t" >"$build/logs/$t.log" 2>&1 </dev/null &
  pids+=($!)
done

failed=()
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  if wait "${pids[$i]}"; then status=ok; else status=FAILED; failed+=("$t"); fi
  # libFuzzer's last status line: executions, coverage, corpus.
  stats="$(grep -E '^#[0-9]+[[:space:]]' "$build/logs/$t.log" | tail -n 1 || true)"
  printf '%-15s %-6s %s\n' "$t" "$status" "${stats:-no status line, see $build/logs/$t.log}"
done

for t in "${failed[@]}"; do
  echo
  echo "=== $t: $build/logs/$t.log"
  grep -E -m 20 'ERROR|runtime error|SUMMARY|Test unit written' "$build/logs/$t.log" || tail -n 30 "$build/logs/$t.log"
  echo "Replay: $fuzz/${t}_fuzz <file in $build/findings/$t/>"
  echo "Keep as a regression case: copy it into tests/fuzz/regressions/$t/"
done
[ ${#failed[@]} -eq 0 ]

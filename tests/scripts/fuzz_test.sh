#!/usr/bin/env bash
# scripts/fuzz.sh through its seam with the stand-in targets of fuzz_standin.sh (no clang), one case
# a run: held (a second copy on a folder that a run holds is refused and touches nothing), stopped
# (a run stopped during its rerun loses no corpus file), report (each line shown cut to a bound; an
# escaped exception's what() shown). Waits synchronise on the stand-in's marks and the script's lock;
# their bounds only end a test that would hang.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
fuzz_sh="$here/../../scripts/fuzz.sh" work="$(mktemp -d)"
trap 'touch "$work/state/release"; rm -rf "$work"' EXIT
mkdir -p "$work/state" "$work/bin/seeds"
for kind in grow slow throw; do ln -s "$here/fuzz_standin.sh" "$work/bin/${kind}_fuzz"; done
export QUARX_FUZZ_BIN_DIR="$work/bin" QUARX_FUZZ_BUILD_DIR="$work/build" STANDIN_STATE="$work/state"
build="$work/build" failures=0

check() { if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi; }
seed_corpus() {  # 200 inputs, named as libFuzzer names them
  mkdir -p "$build/corpus/$1"
  for n in $(seq 200); do printf 'earlier %d' "$n" >"$build/corpus/$1/$(printf 'earlier %d' "$n" | sha1sum | cut -c1-40)"; done
  ls "$build/corpus/$1" >"$work/earlier"
}
keeps_all() {  # every input the corpus had and every one a stand-in wrote is in corpus/$1
  local lost
  lost="$(comm -23 <(sort -u "$work/earlier" "$work/state/written") <(find "$build/corpus/$1" -type f -printf '%f\n' | sort))"
  [ -z "$lost" ] || { echo "lost: $lost"; return 1; }
}
wait_for() {  # wait_for FILE PID: true once FILE is there, false when PID ends first
  for _ in $(seq 1200); do
    [ ! -e "$1" ] || return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
snapshot() { find "$build" -printf '%P %s %T@\n' | sort; }

case "${1:?which case}" in
  held)
    seed_corpus grow
    QUARX_FUZZ_TARGETS=grow STANDIN_HOLD=1 bash "$fuzz_sh" --seconds 1 >"$work/first.out" 2>&1 &
    first=$!
    check "the first copy's run has started" wait_for "$work/state/grow.started.1" "$first"
    snapshot >"$work/before"
    code=0
    timeout 60 env QUARX_FUZZ_TARGETS=grow bash "$fuzz_sh" --seconds 1 >"$work/second.out" 2>&1 || code=$?
    cat "$work/second.out"
    check "the second copy ends at once with a non-zero status" test "$code" -ne 0 -a "$code" -ne 124
    check "it names the build folder" grep -qF "$build" "$work/second.out"
    check "it touched nothing" diff <(snapshot) "$work/before"
    touch "$work/state/release"
    check "the first copy ends ok" wait "$first"
    check "it keeps every corpus file" keeps_all grow ;;
  stopped)
    seed_corpus slow
    # A process group of its own, stopped whole as Ctrl-C stops a command.
    QUARX_FUZZ_TARGETS=slow setsid bash "$fuzz_sh" --seconds 1 >"$work/first.out" 2>&1 </dev/null &
    first=$!
    check "the rerun has started" wait_for "$work/state/slow.started.2" "$first"
    kill -TERM -- "-$first"
    flock -w 60 "$build/fuzz.lock" true  # let go once the last process of the stopped run ends
    check "the next run ends ok" env QUARX_FUZZ_TARGETS=slow bash "$fuzz_sh" --seconds 1
    check "it keeps every corpus file" keeps_all slow
    check "it leaves nothing aside" test ! -e "$build/corpus-aside/slow" ;;
  report)
    code=0
    QUARX_FUZZ_TARGETS=throw bash "$fuzz_sh" --seconds 1 >"$work/out" 2>&1 || code=$?
    head -c 3000 "$work/out"; echo
    cut="more bytes of this line left out; all of it is in $build/logs/throw.log ...]"
    check "the crash fails the run" test "$code" -eq 1
    check "the report is bounded" test "$(wc -c <"$work/out")" -lt 16384
    check "a long line before the report is cut, with the count left out" \
      grep -qxF "line 2 $(head -c 1017 /dev/zero | tr '\0' x) [... 298983 $cut" "$work/out"
    check "a long line of the report is cut, with the count left out" grep -qF "x [... 298978 $cut" "$work/out"
    check "the exception's type shows" grep -qxF "terminate called after throwing an instance of 'std::runtime_error'" "$work/out"
    check "its what() shows" grep -qxF "  what():  bad section" "$work/out"
    check "so does its line that starts like libFuzzer's" grep -qxF "#3 at offset 12 of the package" "$work/out"
    check "the status shown is libFuzzer's own" grep -qE "^throw +FAILED +#5	NEW " "$work/out" ;;
  *) echo "no such case: $1" >&2; exit 2 ;;
esac
echo "$failures failed"
[ "$failures" -eq 0 ]

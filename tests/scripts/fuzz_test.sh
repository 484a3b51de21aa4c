#!/usr/bin/env bash
# scripts/fuzz.sh driven through its seam with the stand-in targets of fuzz_standin.sh (no clang
# needed): one case a run, named by the first argument.
#   held:    a second copy on a build folder that a run holds is refused, touching nothing.
#   stopped: a script stopped during a rerun loses no corpus file; its next run puts them back.
#   report:  every line of a report is cut to a bound, and an escaped exception's what() shows.
# Waits synchronise on the stand-in's marks and on the script's lock; the bounds only end a test
# that would otherwise hang.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'touch "$work/state/release"; rm -rf "$work"' EXIT
mkdir -p "$work/bin/seeds" "$work/state"
for kind in grow slow throw; do
  ln -s "$here/fuzz_standin.sh" "$work/bin/${kind}_fuzz"
  mkdir -p "$work/bin/seeds/$kind"
done
export QUARX_FUZZ_BIN_DIR="$work/bin" QUARX_FUZZ_BUILD_DIR="$work/build" STANDIN_STATE="$work/state"
build="$work/build"

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what="$1"
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# A corpus of 200 inputs, named as libFuzzer names them.
seed_corpus() {
  local n text
  mkdir -p "$build/corpus/$1"
  for n in $(seq 200); do
    text="earlier input $n"
    printf '%s' "$text" >"$build/corpus/$1/$(printf '%s' "$text" | sha1sum | cut -d' ' -f1)"
  done
  ls "$build/corpus/$1" >"$work/earlier"
}

# Every input the corpus had and every one a stand-in wrote is in corpus/$1.
keeps_every_input() {
  local name
  while read -r name; do
    [ -f "$build/corpus/$1/$name" ] || { echo "lost: $name"; return 1; }
  done < <(cat "$work/earlier" "$work/state/written")
}

wait_for() {  # wait_for FILE PID: true once FILE is there, false when PID ended first
  for _ in $(seq 1200); do
    [ -e "$1" ] && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

fuzz() { QUARX_FUZZ_TARGETS="$1" bash "$root/scripts/fuzz.sh" --seconds 1; }

case "${1:?which case}" in
  held)
    seed_corpus grow
    STANDIN_HOLD=1 fuzz grow >"$work/first.out" 2>&1 &
    first=$!
    check "the first copy's run has started" wait_for "$work/state/grow.started.1" "$first"
    snapshot() { find "$build" -printf '%P %s %T@\n' | sort; }
    snapshot >"$work/before"
    code=0
    timeout 60 env QUARX_FUZZ_TARGETS=grow bash "$root/scripts/fuzz.sh" --seconds 1 >"$work/second.out" 2>&1 || code=$?
    cat "$work/second.out"
    check "the second copy ends with a non-zero status at once" test "$code" -ne 0 -a "$code" -ne 124
    check "the second copy names the build folder" grep -qF "$build" "$work/second.out"
    check "the second copy touched nothing" diff <(snapshot) "$work/before"
    touch "$work/state/release"
    code=0
    wait "$first" || code=$?
    cat "$work/first.out"
    check "the first copy ends ok" test "$code" -eq 0
    check "the first copy keeps every corpus file" keeps_every_input grow
    ;;
  stopped)
    seed_corpus slow
    # A process group of its own, stopped whole as Ctrl-C stops a command.
    QUARX_FUZZ_TARGETS=slow setsid bash "$root/scripts/fuzz.sh" --seconds 1 >"$work/first.out" 2>&1 </dev/null &
    first=$!
    check "the rerun has started" wait_for "$work/state/slow.started.2" "$first"
    check "the first run's corpus is set aside meanwhile" test -d "$build/corpus-aside/slow"
    kill -TERM -- "-$first"
    wait "$first" || true
    # The lock is let go once the last process of the stopped run has ended.
    flock -w 60 "$build/fuzz.lock" true
    code=0
    fuzz slow >"$work/next.out" 2>&1 || code=$?
    cat "$work/next.out"
    check "the next run ends ok" test "$code" -eq 0
    check "the next run keeps every corpus file" keeps_every_input slow
    check "nothing is left aside" test ! -e "$build/corpus-aside/slow"
    ;;
  report)
    code=0
    fuzz throw >"$work/out" 2>&1 || code=$?
    head -c 4000 "$work/out"
    echo
    log="$build/logs/throw.log"
    check "the crash fails the run" test "$code" -eq 1
    check "the report is bounded ($(wc -c <"$work/out") bytes)" test "$(wc -c <"$work/out")" -lt 16384
    check "a long line printed before the report is cut, with the count of bytes left out" \
      grep -qF "line 3 $(head -c 1017 /dev/zero | tr '\0' x) [... 298983 more bytes of this line left out; all of it is in $log ...]" "$work/out"
    check "a long line of the report is cut, with the count of bytes left out" \
      grep -qF " [... 298978 more bytes of this line left out; all of it is in $log ...]" "$work/out"
    check "the exception's type shows" grep -qxF "terminate called after throwing an instance of 'std::runtime_error'" "$work/out"
    check "its what() shows" grep -qxF "  what():  bad section" "$work/out"
    check "the line of its what() that starts like libFuzzer's shows" grep -qxF "#3 at offset 12 of the package" "$work/out"
    check "the status shown is libFuzzer's own" grep -qE "^throw +FAILED +#5	NEW " "$work/out"
    ;;
  *) echo "no such case: $1" >&2; exit 2 ;;
esac
echo "$failures failed"
[ "$failures" -eq 0 ]

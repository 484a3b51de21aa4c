#!/usr/bin/env bash
# A stand-in fuzz target for scripts/fuzz.sh's tests: it takes libFuzzer's arguments, adds files
# to the working corpus under their SHA1, and prints and exits as libFuzzer does. What it does is
# told by the name it is called by (<kind>_fuzz); STANDIN_STATE is a folder of its own, where it
# notes the files it wrote and each run it starts, and waits for "release" when it holds.
#   grow:  writes 3 inputs and ends; with STANDIN_HOLD=1 it first waits, holding the run.
#   slow:  its first run times out; its input alone passes; its second run (the rerun) holds.
#   throw: prints long lines, then an escaped exception whose what() holds a "#3 ..." line.
set -euo pipefail

kind="$(basename "$0")"
kind="${kind%_fuzz}"
state="${STANDIN_STATE:?}"
prefix=
inputs=()
for arg in "$@"; do
  case "$arg" in
    -artifact_prefix=*) prefix="${arg#-artifact_prefix=}" ;;
    -*) ;;
    *) inputs+=("$arg") ;;
  esac
done

if [ -f "${inputs[0]}" ]; then  # an input run alone
  echo "Running: ${inputs[0]}"
  echo "Executed ${inputs[0]} in 1 ms"
  exit 0
fi

corpus="${inputs[0]}"
runs=$(($(cat "$state/$kind.runs" 2>/dev/null || echo 0) + 1))
echo "$runs" >"$state/$kind.runs"

add_input() {
  local text="$kind run $runs input $1 $$" name
  name="$(printf '%s' "$text" | sha1sum | cut -d' ' -f1)"
  printf '%s' "$text" >"$corpus/$name"
  echo "$name" >>"$state/written"
}

# Bounded, so that a test whose script never releases it still ends.
hold() {
  touch "$state/$kind.started.$runs"
  for _ in $(seq 1200); do
    [ -e "$state/release" ] && return 0
    sleep 0.05
  done
  exit 3
}

echo "INFO: Seed: $runs"
printf '#2\tINITED cov: 4 ft: 4 corp: 1/1b exec/s: 0 rss: 30Mb\n'
for n in 1 2 3; do add_input "$n"; done
printf '#5\tNEW    cov: 5 ft: 5 corp: 4/12b lim: 4 exec/s: 0 rss: 30Mb L: 3/3 MS: 1 ChangeBit-\n'

case "$kind:$runs" in
  grow:*)
    if [ "${STANDIN_HOLD:-0}" = 1 ]; then hold; fi ;;
  slow:1)
    printf 'slow input' >"${prefix}timeout-slow"
    echo "==$$== ERROR: libFuzzer: timeout after 10 seconds"
    echo "SUMMARY: libFuzzer: timeout"
    echo "artifact_prefix='$prefix'; Test unit written to ${prefix}timeout-slow"
    exit 70 ;;
  slow:2)
    hold ;;
  throw:*)
    big="$(head -c 300000 /dev/zero | tr '\0' x)"
    for n in 1 2 3; do echo "line $n $big"; done
    echo "terminate called after throwing an instance of 'std::runtime_error'"
    echo "  what():  bad section"
    echo "#3 at offset 12 of the package"
    echo "==$$== ERROR: libFuzzer: deadly signal"
    echo "    #0 0x4a1b2c in __sanitizer_print_stack_trace"
    echo "0x${big}"
    echo "SUMMARY: libFuzzer: deadly signal"
    printf 'thrown' >"${prefix}crash-throw"
    echo "artifact_prefix='$prefix'; Test unit written to ${prefix}crash-throw"
    exit 1 ;;
esac
printf '#9\tDONE   cov: 5 ft: 5 corp: 4/12b lim: 4 exec/s: 0 rss: 30Mb\n'

#!/usr/bin/env bash
# A stand-in fuzz target for fuzz_test.sh: it takes libFuzzer's arguments, adds 3 inputs to the
# working corpus under their SHA1 (noted in $STANDIN_STATE/written), and prints and exits as
# libFuzzer does. Its name says what else it does: grow_fuzz holds first with STANDIN_HOLD=1;
# slow_fuzz times out on its first run and holds on its second, the rerun; throw_fuzz prints long
# lines and an escaped exception. A hold waits for $STANDIN_STATE/release. An input alone passes.
set -euo pipefail
kind="$(basename "$0" _fuzz)" state="${STANDIN_STATE:?}" prefix='' inputs=()
for arg; do
  case "$arg" in -artifact_prefix=*) prefix="${arg#*=}" ;; -*) ;; *) inputs+=("$arg") ;; esac
done
[ ! -f "${inputs[0]}" ] || exit 0
runs=$(($(cat "$state/$kind.runs" 2>/dev/null || echo 0) + 1))
echo "$runs" >"$state/$kind.runs"

hold() {  # bounded, so that a test that never releases it still ends
  touch "$state/$kind.started.$runs"
  for _ in $(seq 1200); do [ ! -e "$state/release" ] || return 0; sleep 0.05; done
  exit 3
}
finding() {  # finding KIND LINE...: the report's lines, then the input written out
  local unit="$prefix$1-$kind"
  shift
  echo input >"$unit"
  printf '%s\n' "$@" "artifact_prefix='$prefix'; Test unit written to $unit"
}

for n in 1 2 3; do
  text="$kind run $runs input $n $$"
  name="$(printf '%s' "$text" | sha1sum | cut -c1-40)"
  printf '%s' "$text" >"${inputs[0]}/$name"
  echo "$name" >>"$state/written"
done
printf '#5\tNEW    cov: 5 ft: 5 corp: 4/12b\n'
big="$(head -c 300000 /dev/zero | tr '\0' x)"
case "$kind:$runs" in
  grow:*) [ "${STANDIN_HOLD:-0}" = 0 ] || hold ;;
  slow:1) finding timeout "==$$== ERROR: libFuzzer: timeout after 10 seconds" "SUMMARY: libFuzzer: timeout"; exit 70 ;;
  slow:2) hold ;;
  throw:*)
    finding crash "line 1 $big" "line 2 $big" "terminate called after throwing an instance of 'std::runtime_error'" \
      "  what():  bad section" "#3 at offset 12 of the package" "==$$== ERROR: libFuzzer: deadly signal" "0x$big" \
      "SUMMARY: libFuzzer: deadly signal"
    exit 1 ;;
esac
printf '#9\tDONE   cov: 5 ft: 5 corp: 4/12b\n'

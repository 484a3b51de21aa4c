#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ (clang's libFuzzer with AddressSanitizer and UBSan) in a
# folder of their own and runs every target for N seconds (default 60), side by side. Fails on
# any crash, leak, sanitizer report, time-out or excess memory. A time-out is tried again before
# it counts: its input alone, three times, and then the whole run once more, the same command on
# the same starting corpus; only one that neither repeats is shown as a stall and fails nothing. A
# reproducer is kept in <build>/findings/<target>/; copied into tests/fuzz/regressions/<target>/
# it becomes a regression case of the ordinary test run.
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

# Check-only seam: QUARX_FUZZ_BIN_DIR=<dir> QUARX_FUZZ_TARGETS="a b" runs <dir>/a_fuzz and
# <dir>/b_fuzz (seeds in <dir>/seeds/a/ and <dir>/seeds/b/) instead of building the real targets,
# so that what follows can be tried on stand-ins made to crash, hang or stall.
bins="${QUARX_FUZZ_BIN_DIR:-}"
build="${QUARX_FUZZ_BUILD_DIR:-build-fuzz}"
# One run per build folder: two would copy, move and delete each other's corpus folders, and run
# cmake on one tree at once. The lock is held to the script's end, the rerun included, and by every
# fuzzer it starts, so a fuzzer that outlives a killed script still keeps the next run out.
mkdir -p "$build"
exec 9>>"$build/fuzz.lock"
if ! flock -n 9; then
  echo "fuzz.sh: another run of this script holds $build; one run per build folder: wait for it to end, or give this one a folder of its own with QUARX_FUZZ_BUILD_DIR" >&2
  exit 1
fi
[ -n "$bins" ] || scripts/install-deps.sh
source scripts/sanitizers.sh
if [ -n "$bins" ]; then
  fuzz="$bins"
  read -ra targets <<<"${QUARX_FUZZ_TARGETS:?QUARX_FUZZ_BIN_DIR needs QUARX_FUZZ_TARGETS}"
else
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${sanitizer_cmake_args[@]}" -DQUARX_FUZZ=ON >/dev/null
  cmake --build "$build" --target quarx_fuzz -j"$(nproc)"
  fuzz="$build/tests/fuzz"
  targets=(package_reader control_xml pattern discovery_ack)
fi

# A slow input is a hang: no package, pattern or datagram may keep the tool busy for seconds.
# While the targets share the machine the window is 10 s, room for the sanitizers' own slowdown
# and a busy host. An input run on its own is held to libFuzzer's -timeout=1, which also gives the
# stack it stood in: libFuzzer looks once a second and counts whole seconds, so an input that
# runs 2 s or more alone is always a finding, one of 1 to 2 s may be.
shared_timeout=10
alone_timeout=1
# The exit codes are given, not assumed, because a time-out is told from every other end by its
# code: a sanitizer report ends the target with 1, libFuzzer's other findings with 77 (71 for
# memory). The words of its report alone do not tell it: libFuzzer echoes a crashing input into
# the log, and the target may print anything.
timeout_exitcode=70
limits=(-rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -error_exitcode=77 "-timeout_exitcode=$timeout_exitcode")

# Sets opts to the limits, the dictionary and the input lengths of target $1.
target_options() {
  opts=("${limits[@]}")
  if [ -f "tests/fuzz/$1.dict" ]; then opts+=(-dict="tests/fuzz/$1.dict"); fi
  # Patterns and values up to their caps (1024 and 4096 bytes, a NUL between) from the start,
  # not grown slowly from short inputs.
  if [ "$1" = pattern ]; then opts+=(-max_len=5121 -len_control=0); fi
}

# The rerun of a time-out is the run's very command again, not one like it, in a process laid out
# like the run's. libFuzzer's comparison tracing records the values a target compares, addresses
# among them, and mutates with them: with the stack, the program and its libraries placed at
# random, a rerun drifts from its run within a few hundred inputs, so both run with address
# randomisation off where the machine allows it (a container may refuse it). The sanitizers'
# heap sits at fixed addresses, so its addresses follow the heap's history, which a folder path
# of another length, or the folders in another order, shifts. What is left: libFuzzer's thread that
# watches the memory takes heap as it starts, now and then before the run's own side does, which
# changes a few inputs; and a target whose coverage varies by itself drifts all the same.
norandom=()
if setarch "$(uname -m)" -R true >/dev/null 2>&1; then norandom=(setarch "$(uname -m)" -R); fi

# Sets cmd to the fuzzing run of target number $1. By default libFuzzer reads its corpus folder
# again every second for inputs other processes put there and runs the new ones at whatever input
# the clock strikes; no other process writes there, and without it a rerun keeps step with its run.
run_command() {
  local t="${targets[$1]}"
  target_options "$t"
  cmd=("${norandom[@]}" "$fuzz/${t}_fuzz" "${opts[@]}" -reload=0 -timeout="$shared_timeout" -seed="${seed_of[$1]}" -max_total_time="$seconds"
    -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" "$fuzz/seeds/$t")
}

# True when every file of folder $1 is in folder $2 as well, under its name: libFuzzer names a
# corpus file by the SHA1 of its content, so a name both hold is the same input.
holds_all() {
  local name
  [ -d "$1" ] || return 0
  while IFS= read -r -d '' name; do
    [ -f "$2/$name" ] || return 1
  done < <(find "$1" -type f -printf '%P\0')
}

# A corpus folder $1 is deleted only once folder $2, which takes its place, holds all its files.
remove_when_held() {
  if holds_all "$1" "$2"; then
    rm -rf "$1"
  else
    echo "fuzz.sh: $1 is kept: $2 does not hold all of its files" >&2
    return 1
  fi
}

# Folder $2 (none there yet) made a whole copy of folder $1: the copy is made beside it and moved
# in only once whole, so that a stop part-way leaves no half copy in its place.
copy_whole() {
  rm -rf "$2.part"
  cp -a "$1" "$2.part"
  mv -T "$2.part" "$2"
}

# The working corpus of target $1 set aside in corpus-aside/ and a fresh copy of its starting
# corpus put in its place: libFuzzer runs the inputs of one size in the order their folder lists
# them, and two copies made alike list them alike, where the folder libFuzzer grew may not.
fresh_corpus() {
  mv -T "$build/corpus/$1" "$build/corpus-aside/$1"
  copy_whole "$build/corpus-start/$1" "$build/corpus/$1"
}

# The set-aside files go back into the working corpus, so that it keeps what every run found;
# also puts back what a script stopped part-way left aside.
merge_aside() {
  local t="$1"
  mkdir -p "$build/corpus/$t"
  cp -a "$build/corpus-aside/$t/." "$build/corpus/$t/" && remove_when_held "$build/corpus-aside/$t" "$build/corpus/$t"
}

mkdir -p "$build/logs" "$build/corpus-start" "$build/corpus-aside"
pids=()
seed_of=()
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  if [ -d "$build/corpus-aside/$t" ]; then merge_aside "$t"; fi
  # The working corpus grows from run to run; the seeds are read, never written.
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  # A rerun has to start from the inputs this run starts from, and libFuzzer adds to the working
  # corpus as it goes. The starting corpus is only ever a copy of the working one.
  rm -rf "${build:?}/corpus-start/$t"
  copy_whole "$build/corpus/$t" "$build/corpus-start/$t"
  # The run works on a fresh copy of it, as a rerun does.
  fresh_corpus "$t"
  remove_when_held "$build/corpus-aside/$t" "$build/corpus/$t"
  seed_of[i]=$(( (RANDOM << 15 | RANDOM) + 1 ))
  run_command "$i"
  "${cmd[@]}" >"$build/logs/$t.log" 2>&1 </dev/null &
  pids[i]=$!
done
# Every target ends before a time-out is tried again, so that the runs alone below have the
# machine to themselves.
codes=()
for i in "${!targets[@]}"; do
  codes[i]=0
  wait "${pids[$i]}" || codes[i]=$?
done

# The input a target stopped on, as libFuzzer named it (empty when it wrote none).
finding() { awk '/^artifact_prefix=.*; Test unit written to /{ u = $0; sub(/^.*; Test unit written to /, "", u) } END { print u }' "$1"; }

# A time-out by libFuzzer's exit code and by its own line, at the start of a line.
timed_out() { [ "$1" -eq "$timeout_exitcode" ] && grep -qE '^==[0-9]+== ERROR: libFuzzer: timeout after' "$2"; }

# The input run again alone, three times: true when none of the runs fails. Sets replay_log to
# the log of the run that failed and replay_code to its exit status.
replays_pass() {
  local t="$1" unit="$2" run
  replay_log=
  replay_code=0
  [ -f "$unit" ] || return 1
  target_options "$t"
  for run in 1 2 3; do
    replay_log="$build/logs/$t.replay$run.log"
    "$fuzz/${t}_fuzz" "${opts[@]}" -timeout=$alone_timeout -artifact_prefix="$build/findings/$t/" "$unit" \
      >"$replay_log" 2>&1 </dev/null || { replay_code=$?; return 1; }
  done
  replay_log=
}

# A time-out is a wall-clock window, and a machine can stall (a busy or paused host) with any
# input in flight. But a target that keeps state from input to input (the pattern target keeps
# one matching process for the whole run) can also hang only after thousands of inputs, which its
# last input alone does not repeat. So a time-out counts as a stall only when neither its input
# alone nor a second run, the same command on the same starting corpus, repeats it.
status=()
detail=()
replay_of=()
reruns=()
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  log="$build/logs/$t.log"
  detail[i]=
  replay_of[i]=
  if [ "${codes[$i]}" -eq 0 ]; then
    status[i]=ok
  elif ! timed_out "${codes[$i]}" "$log"; then
    status[i]=FAILED
    detail[i]="exit status ${codes[$i]}"
  elif ! replays_pass "$t" "$(finding "$log")"; then
    status[i]=FAILED
    replay_of[i]="$replay_log"
    if [ -z "$replay_log" ]; then
      detail[i]="a time-out whose input libFuzzer did not write"
    elif timed_out "$replay_code" "$replay_log"; then
      detail[i]="a time-out that its input alone repeated (an input alone may take under 2 s)"
    else
      # A crash is a finding of its own, whatever the run's time-out was.
      detail[i]="a time-out in the run; its input alone crashed (exit status $replay_code)"
    fi
  else
    reruns+=("$i")
  fi
done

# The reruns side by side, as the first runs were: a stall adds the run's length once.
rerun_pids=()
for i in "${reruns[@]}"; do
  t="${targets[$i]}"
  fresh_corpus "$t"
  run_command "$i"
  "${cmd[@]}" >"$build/logs/$t.rerun.log" 2>&1 </dev/null &
  rerun_pids[i]=$!
done
for i in "${reruns[@]}"; do
  t="${targets[$i]}"
  code=0
  wait "${rerun_pids[$i]}" || code=$?
  # Whatever the rerun's end, the first run's finds go back into the working corpus; left aside,
  # the next run of this script puts them back.
  merge_aside "$t" || echo "fuzz.sh: the corpus of the first run of $t stays in $build/corpus-aside/$t; the next run merges it back" >&2
  if [ "$code" -eq 0 ]; then
    status[i]=stall
    detail[i]="a time-out that neither its input alone (three runs) nor a rerun, the same command on the same starting corpus with -seed=${seed_of[$i]}, repeated (a stall of the machine)"
    [ ${#norandom[@]} -gt 0 ] || detail[i]+="; this machine refused to turn address randomisation off, so the rerun may have drifted from its run"
  else
    status[i]=FAILED
    detail[i]="a time-out that its input alone did not repeat, but the rerun, the same command on the same starting corpus with -seed=${seed_of[$i]}, failed again (exit status $code)"
  fi
done

# From here on only the findings decide the exit status: a part of a report that cannot be shown
# must not end the script and take the other reports and the verdict with it.
set +e

# libFuzzer's own status line, by its exact form: the count of inputs run, a tab, and one of its
# words. A target prints what it likes, "#3 at offset 12" among it, and none of that may be
# taken for libFuzzer's.
status_line='^#[0-9]+\t(INITED|NEW|REDUCE|pulse|DONE|RELOAD)( |$)'
# Its start-up lines, by their words.
info_line='^INFO: (Running with entropic power schedule|Seed: [0-9]+$|Loaded [0-9]+ (modules|PC tables) |-max_len is not provided|A corpus is not provided|[ 0-9]+ files found in |seed corpus: files: |libFuzzer disabled leak detection|fuzzed for [0-9]+ (seconds|iterations))'
# Each line shown is cut to this many bytes: a target can print a line of megabytes.
line_cap=1024

for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  # libFuzzer's last status line: executions, coverage, corpus.
  stats="$(LC_ALL=C awk -v own="$status_line" -v cap="$line_cap" '$0 ~ own { s = substr($0, 1, cap) } END { print s }' "$build/logs/$t.log")"
  printf '%-15s %-6s %s\n' "$t" "${status[$i]}" "${stats:-no status line, see $build/logs/$t.log}"
done

# The report of a log, from the first line that starts a sanitizer's or libFuzzer's report to
# its last SUMMARY line: its first 60 and last 5 lines, with the count of those left out between;
# the last 30 lines of the log when it holds no report. Before it, the lines printed since
# libFuzzer's last line of its own, up to 20: an exception that leaves the target has its type
# and its what() printed by the C++ run-time there, before libFuzzer's "deadly signal" report.
# Every line longer than line_cap bytes is cut, with the count of bytes left out.
# One program reads the whole log: a pipe cut short by a reader that has seen enough ends its
# writer with SIGPIPE.
show_report() {
  LC_ALL=C awk -v path="$1" -v keep=20 -v cap="$line_cap" -v status="$status_line" -v info="$info_line" '
    function cut(text) {
      if (length(text) <= cap) return text
      return substr(text, 1, cap) sprintf(" [... %d more bytes of this line left out; all of it is in %s ...]", length(text) - cap, path)
    }
    !start && (/^==[0-9]+== ?ERROR: / || /^[^ ]+: runtime error: /) { start = NR }
    !start { before[NR % 30] = cut($0) }
    # The status and start-up lines of libFuzzer, and the end of the input it writes out before a
    # time-out; blank lines and the rule above a report of the sanitizers belong to no one.
    !start && ($0 ~ status || $0 ~ info || /^\tNEW_FUNC\[[0-9]+\/[0-9]+\]: / || /^Running: / || / Running [0-9]+ inputs [0-9]+ time\(s\) each\.$/ ||
               /^Executed .* in [0-9]+ ms$/ || /^artifact_prefix=.*; Test unit written to / || /^Base64: /) { own = 0; next }
    !start && !/^=*$/ { mine[++own % keep] = cut($0) }
    start { line[++n] = cut($0); if (/^SUMMARY: /) last = n }
    END {
      if (!start) {
        print "(no sanitizer or libFuzzer report in " path "; its last lines:)"
        for (i = (NR > 30 ? NR - 29 : 1); i <= NR; i++) print before[i % 30]
        exit
      }
      if (own > keep) printf "[... %d earlier lines printed before the report left out; all of them are in %s ...]\n", own - keep, path
      for (i = (own > keep ? own - keep + 1 : 1); i <= own; i++) print mine[i % keep]
      if (last) n = last
      if (n <= 66) { for (i = 1; i <= n; i++) print line[i]; exit }
      for (i = 1; i <= 60; i++) print line[i]
      printf "[... %d lines of the report left out; all of it is in %s ...]\n", n - 65, path
      for (i = n - 4; i <= n; i++) print line[i]
    }' "$1"
}

# The input in base64, up to 8 KiB of it: the log stays readable with a package of 64 KiB.
input_cap=8192
show_input() {
  local unit="$1" size
  if [ -z "$unit" ] || [ ! -f "$unit" ]; then
    echo "Input: none written, see the log"
    return
  fi
  size="$(stat -c %s "$unit")"
  if [ "$size" -le "$input_cap" ]; then
    echo "Input: $unit, $size bytes, base64:"
    base64 "$unit"
  else
    echo "Input: $unit, $size bytes; its first $input_cap bytes in base64, the last $((size - input_cap)) bytes left out (the whole input is that file):"
    head -c "$input_cap" "$unit" | base64
  fi
}

# A CI log is all that is left of a run on a machine of its own: where the target stood (the
# report and its stacks) and the input itself, in base64.
failed=0
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  [ "${status[$i]}" = ok ] && continue
  [ "${status[$i]}" = FAILED ] && failed=1
  log="$build/logs/$t.log"
  echo
  echo "=== $t: ${status[$i]}, ${detail[$i]}"
  echo "--- $log"
  show_report "$log"
  show_input "$(finding "$log")"
  if [ -n "${replay_of[$i]}" ]; then
    echo "--- the input alone: ${replay_of[$i]}"
    show_report "${replay_of[$i]}"
  fi
  if [[ " ${reruns[*]} " == *" $i "* ]]; then
    rerun_log="$build/logs/$t.rerun.log"
    if [ "${status[$i]}" = stall ]; then
      echo "--- the rerun passed: $rerun_log"
    else
      echo "--- the rerun: $rerun_log"
      show_report "$rerun_log"
      show_input "$(finding "$rerun_log")"
      # The rerun repeats input for input only in the folders of the run, so these are its steps.
      corpus="$build/corpus/$t" aside="$build/corpus-aside/$t"
      run_command "$i"
      echo "Rerun, in bash from the project's root, before this script runs again (its next run overwrites"
      echo "$build/corpus-start/$t and merges what is set aside in $aside back into the corpus):"
      echo "  source scripts/sanitizers.sh"
      echo "  mkdir -p $(printf '%q' "$aside") && cp -a $(printf '%q' "$corpus/.") $(printf '%q' "$aside/") && rm -rf $(printf '%q' "$corpus")"
      echo "  cp -a $(printf '%q' "$build/corpus-start/$t") $(printf '%q' "$corpus")"
      printf -v line '%q ' "${cmd[@]}"
      echo "  ${line% }"
    fi
  fi
  echo "Replay: $fuzz/${t}_fuzz <file in $build/findings/$t/>"
  echo "Keep as a regression case: copy it into tests/fuzz/regressions/$t/"
done
exit "$failed"

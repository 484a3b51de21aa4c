#!/usr/bin/env bash
# Installs what is missing, builds in a fresh build folder and runs every test.
# Tests run inside a private loopback-only network namespace; where none can be
# made the camera tests are skipped, loudly, and never run on the host's network.
# --sanitize: the same tests built with AddressSanitizer, LeakSanitizer and UBSan (clang) in a
# folder of their own; any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
build="${QUARX_TEST_BUILD_DIR:-build-test}"  # a folder of its own lets two runs go side by side
if [ "$sanitize" = 1 ]; then
  source scripts/sanitizers.sh
  config+=("${sanitizer_cmake_args[@]}")
  build="${QUARX_SANITIZE_BUILD_DIR:-build-sanitize}"
fi
rm -rf "$build"
cmake -S . -B "$build" "${config[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ "$sanitize" = 1 ]; then
  # Reports go to files, so that those of child processes whose exit status no test reads (the
  # emulator, stopped by a signal) fail the run as well.
  reports="$build/sanitizer-reports"
  mkdir -p "$reports"
  export ASAN_OPTIONS="$ASAN_OPTIONS:log_path=$reports/report"
  export UBSAN_OPTIONS="$UBSAN_OPTIONS:log_path=$reports/report"
fi

jobs="$(nproc)"
status=0
if scripts/in-netns.sh true; then
  scripts/in-netns.sh ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300 || status=$?
else
  echo "################################################################"
  echo "# NO PRIVATE NETWORK NAMESPACE: SKIPPING EVERY CAMERA TEST.     #"
  echo "# Camera tests never run on the host's network.                #"
  echo "################################################################"
  ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300 -LE camera || status=$?
fi

if [ "$sanitize" = 1 ] && [ -n "$(ls -A "$reports")" ]; then
  for report in "$reports"/*; do
    echo "=== sanitizer report $report"
    cat "$report"
  done
  echo "SANITIZER REPORTS: $(ls "$reports" | wc -l) (kept in $reports)"
  status=1
fi
exit "$status"

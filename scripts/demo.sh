#!/usr/bin/env bash
# The main job in one command: installs what is missing, builds, and inside a private
# loopback-only network namespace starts one emulated camera at version 1.0.0, lists it, shows
# which updates of the sample package fit it, updates it and lists it again at the new version.
# Everything shown is the tool's real output. Exits non-zero when any step fails.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
camera_address=127.0.0.2
camera_version=1.0.0
expected_version=2.0.0
ready_wait_tenths=150

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the namespace made by scripts/in-netns.sh: nothing here reaches a real network.
  package="$2"
  fwupdate="$build/app/fwupdate"
  camera_log="$(mktemp)"
  "$build/emulator/fwcam-emulator" --address "$camera_address" --version "$camera_version" >"$camera_log" 2>&1 &
  camera_pid=$!
  stop_camera() {
    kill -TERM "$camera_pid" 2>/dev/null || true
    wait "$camera_pid" 2>/dev/null || true
    echo
    echo "---- the emulated camera's own log ----"
    cat "$camera_log"
    rm -f "$camera_log"
  }
  trap stop_camera EXIT

  for ((i = 0; i < ready_wait_tenths; i++)); do
    grep -q "fwcam-emulator ready" "$camera_log" && break
    kill -0 "$camera_pid" 2>/dev/null || { echo "demo: the emulated camera did not start" >&2; exit 1; }
    sleep 0.1
  done
  grep -q "fwcam-emulator ready" "$camera_log" || { echo "demo: the emulated camera is not ready" >&2; exit 1; }

  run() {
    echo
    echo "\$ fwupdate $*"
    "$fwupdate" "$@"
  }
  run -l
  run -f "$package"
  run -u "$package" --no-prompt
  after="$(run -l)"
  echo "$after"
  if ! grep -q "Version *: $expected_version\$" <<<"$after"; then
    echo "demo: the camera does not report version $expected_version after the update" >&2
    exit 1
  fi
  echo
  echo "demo: the camera was updated from $camera_version to $expected_version"
  exit 0
fi

cd "$root"
scripts/install-deps.sh

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target fwupdate fwcam-emulator
scripts/make-sample-package.sh build/sample-update.guf >/dev/null
# A path relative to the repository keeps the demo's output free of this machine's folders.
package=build/sample-update.guf

exec scripts/in-netns.sh "$root/scripts/demo.sh" --inside "$package"

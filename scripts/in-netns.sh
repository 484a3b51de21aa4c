#!/usr/bin/env bash
# Runs a command inside a private network namespace whose only interface is loopback,
# with 127.0.0.1 to 127.0.0.9 usable for emulated cameras. Camera discovery broadcasts on
# every interface, so nothing that discovers cameras may run on the host's network.
# Exits 125 when no namespace can be made; it never falls back to the host network.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  shift
  ip link set lo up
  for n in 2 3 4 5 6 7 8 9; do
    ip addr add "127.0.0.$n/8" dev lo 2>/dev/null || true
  done
  export QUARX_NETNS=1
  exec "$@"
fi

self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
if unshare -n true 2>/dev/null; then
  exec unshare -n -- bash "$self" --inside "$@"
elif unshare -rn true 2>/dev/null; then
  exec unshare -rn -- bash "$self" --inside "$@"
fi
echo "in-netns: cannot make a private network namespace (unshare -n / unshare -rn refused)" >&2
exit 125

#!/usr/bin/env bash
# Builds the sample update package from samples/sample-update/: control.xml and the firmware
# image (the committed text, padded with generated lines so that the upload spans many file
# access chunks), zipped into "package.zip", which is stored in the outer package.
# Usage: scripts/make-sample-package.sh OUTPUT.guf
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 OUTPUT.guf" >&2; exit 2; }
command -v zip >/dev/null || { echo "make-sample-package: 'zip' is missing (apt-get install zip)" >&2; exit 1; }

src="$(cd "$(dirname "$0")/../samples/sample-update" && pwd)"
out="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Padding lines make the image about 64 KiB.
padding_lines=1024

cp "$src/control.xml" "$work/control.xml"
{
  cat "$src/firmware.img"
  for ((i = 0; i < padding_lines; i++)); do
    printf 'image block %04d: FWCAM-1 sample firmware payload\n' "$i"
  done
} >"$work/firmware.img"

# The inner archive may compress; every outer entry up to "package.zip" must be stored (-0).
(cd "$work" && zip -q -X package.zip control.xml firmware.img)
rm -f "$out"
(cd "$work" && zip -q -X -0 "$out" package.zip)
echo "$out"

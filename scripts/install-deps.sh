#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; installs nothing that is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libfmt-dev libspdlog-dev libtoml11-dev librapidxml-dev libzip-dev libtiff-dev
  libaravis-dev libusb-1.0-0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  iproute2 util-linux zip
  clang-14 libclang-rt-14-dev llvm-14  # sanitizer run and fuzzing (llvm-14: the symbolizer)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Missing packages (${missing[*]}) and not root: install them as root." >&2; exit 1; }
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null

#!/usr/bin/env bash
# Installs what the ARM cross builds and their suite under qemu need, for armhf (the default) or
# arm64: Debian's cross compiler, qemu's user-mode emulator, and the target architecture's
# packages beside the native ones (EGL, GLES and Mesa's software rasteriser, stb, googletest).
# Only `make test-arm` runs it. Idempotent: nothing is fetched when all is there.
#
# A foreign architecture's library must be the very version of its native twin, so apt may
# upgrade a native library (zlib, xz, zstd, expat) to the version the foreign one has; it never
# removes a native package (apt-get -s shows the plan).
set -euo pipefail

arch=${1:-armhf}
case "$arch" in
  armhf) triplet=arm-linux-gnueabihf ;;
  arm64) triplet=aarch64-linux-gnu ;;
  *) echo "setup-arm: unknown architecture $arch (armhf or arm64)" >&2; exit 2 ;;
esac

packages=(cmake make pkg-config ccache binutils picojson-dev libglm-dev
  "g++-$triplet" qemu-user-static
  "libegl-dev:$arch" "libgles-dev:$arch" "libegl-mesa0:$arch" "libgl1-mesa-dri:$arch"
  "libstb-dev:$arch" "libgtest-dev:$arch" "libgmock-dev:$arch")

if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
  echo "setup-arm: adding the $arch architecture to dpkg" >&2
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo dpkg --add-architecture "$arch"
fi
source "$(dirname "$0")/install_missing.sh"
install_missing setup-arm "${packages[@]}"

#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the host and the tools need.
# Idempotent: when everything is present it does not touch apt at all.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format dpkg-dev file
  libstb-dev picojson-dev
  libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev libglm-dev
  libsdl2-dev libsndfile1-dev libfftw3-dev ffmpeg xvfb xauth
  libfreetype-dev fonts-dejavu-core
  clang-14 libclang-rt-14-dev ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

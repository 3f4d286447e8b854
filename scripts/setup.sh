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

source "$(dirname "$0")/install_missing.sh"
install_missing setup "${packages[@]}"

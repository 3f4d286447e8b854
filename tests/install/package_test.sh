#!/usr/bin/env bash
# Builds the Debian packages into a scratch directory, as `make package` builds them into out/,
# and checks them against the install components.
#   package_test.sh <cpack> <build dir> <scratch dir>
set -euo pipefail
cpack=$1
build=$2
scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch"
if ! (cd "$build" && "$cpack" -G DEB -D CPACK_OUTPUT_FILE_PREFIX="$scratch/debs" \
  -B "$scratch/stage" >"$scratch/cpack.log" 2>&1); then
  cat "$scratch/cpack.log" >&2
  exit 1
fi
"$(dirname "$0")/../../scripts/check_packages.sh" "$build" "$scratch/debs"

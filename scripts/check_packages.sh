#!/usr/bin/env bash
# Checks the Debian packages against the install components they are made from: each package
# holds exactly the files its component installs under /usr, among them its copyright file, and
# the runtime package's library exports the ten functions.
#   scripts/check_packages.sh <build dir> <package dir>
set -euo pipefail
build=$1
packages=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A names=([runtime]='libvisualization[0-9]*' [dev]=libvisualization-dev [tools]=visualization-tools)
for component in runtime dev tools; do
  # shellcheck disable=SC2206
  debs=($packages/${names[$component]}_*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "check_packages: expected one package of the $component component in $packages" >&2
    exit 1
  fi
  deb=${debs[0]}
  DESTDIR="$work/$component" cmake --install "$build" --prefix /usr --component "$component" >/dev/null
  (cd "$work/$component" && find . ! -type d | sed 's|^\./|/|' | sort) >"$work/$component.installed"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort >"$work/$component.packaged"
  if ! diff -u "$work/$component.installed" "$work/$component.packaged" >&2; then
    echo "check_packages: $(basename "$deb") differs from the $component component" >&2
    exit 1
  fi
  if ! grep -qx "/usr/share/doc/$(dpkg-deb -f "$deb" Package)/copyright" "$work/$component.packaged"; then
    echo "check_packages: $(basename "$deb") has no copyright file" >&2
    exit 1
  fi
  echo "$(basename "$deb"): $(wc -l <"$work/$component.packaged") files, as installed;" \
    "Depends: $(dpkg-deb -f "$deb" Depends)"
  if [ "$component" = runtime ]; then
    dpkg-deb -x "$deb" "$work/extracted"
    "$here/tests/check_exports.sh" "$(find "$work/extracted" -name 'libvisualization.so.*.*')"
  fi
done

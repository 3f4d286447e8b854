#!/usr/bin/env bash
# Installs what the web build and its browser tests need: Debian's emscripten and chromium, and
# the browser automation library from npm into web/tests/node_modules (never a browser of its
# own: the tests drive the system's chromium). Idempotent: nothing is fetched when all is there.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# The library's build needs cmake and the image decoder's and JSON reader's headers as the
# native one does.
packages=(emscripten chromium python3 nodejs cmake make libstb-dev picojson-dev)
if ! command -v npm >/dev/null 2>&1; then
  packages+=(npm)
fi

source "$root/scripts/install_missing.sh"
install_missing setup-web "${packages[@]}"

if [ "${1:-}" = "--tests" ]; then
  tests="$root/web/tests"
  if [ ! -d "$tests/node_modules/playwright-core" ] ||
     [ "$tests/package-lock.json" -nt "$tests/node_modules/.package-lock.json" ]; then
    echo "setup-web: installing the browser tests' node modules" >&2
    (cd "$tests" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
  fi
fi

#!/usr/bin/env bash
# The browser tests (browser_test.mjs) against the site in build-web/site and the desktop
# programs in build/ (GCC) and build-fuzz/ (Clang), when those are there. playwright-core comes
# from npm at the version package-lock.json pins; the browser is Debian's Chromium.
set -euo pipefail
cd "$(dirname "$0")"
root=$(cd ../.. && pwd)
npm ci --no-audit --no-fund --loglevel=error >/dev/null
clang_program=()
[ -x "$root/build-fuzz/shell/boules" ] && clang_program=("$root/build-fuzz/shell/boules")
exec nice -n 10 node browser_test.mjs "$root/build-web/site" "$root/build/shell/boules" "${clang_program[@]}"

#!/usr/bin/env bash
# Measures the browser edition's figures (see README.md) against the desktop program:
#   bench/web/measure.sh [GAMES_FOR_MEMORY]
# after ./setup.sh web build and a desktop build in build/. Prints the tables of README.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
exec node bench/web/measure.mjs build-web/site build/shell/boules "${1:-50}"

#!/usr/bin/env bash
# The committed pictures and sounds under assets/ must be exactly what the generators make.
#   check_generated_assets.sh ARTGEN SOUNDGEN ASSETS_FOLDER
set -euo pipefail
artgen=$1 soundgen=$2 assets=$3
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/art" "$fresh/sound"
"$artgen" "$fresh/art"
"$soundgen" "$fresh/sound"
status=0
for kind in art sound; do
  if ! diff -rq "$fresh/$kind" "$assets/$kind"; then
    echo "assets/$kind differs from the generator's output: run tools/generate-assets.sh" >&2
    status=1
  fi
done
exit $status

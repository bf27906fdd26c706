#!/usr/bin/env bash
# The committed pictures (at every scale), sounds and contact sheet under assets/ must be exactly
# what the generators and the packing tool make.
#   check_generated_assets.sh ARTGEN SOUNDGEN QMFTOOL ASSETS_FOLDER
set -euo pipefail
artgen=$1 soundgen=$2 qmftool=$3 assets=$4
# Under the leak checker, fontconfig's process-long caches (the sheet's captions) are not leaks.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/art" "$fresh/art@2x" "$fresh/art@3x" "$fresh/art@4x" "$fresh/sound"
# The finest pictures take as long as all the rest: they are drawn meanwhile.
"$artgen" --scale 4 "$fresh/art@4x" &
finest=$!
"$artgen" "$fresh/art"
"$artgen" --scale 2 "$fresh/art@2x"
"$artgen" --scale 3 "$fresh/art@3x"
"$soundgen" "$fresh/sound"
wait $finest
cp "$assets/cast.manifest" "$fresh/"
"$qmftool" pack "$fresh/cast.manifest" "$fresh/MyMovie.qmf" "$fresh/cast_table.cpp" >/dev/null
"$qmftool" sheet "$fresh/cast.manifest" "$fresh/MyMovie.qmf" "$fresh/contact-sheet.png" >/dev/null
status=0
for kind in art art@2x art@3x art@4x sound contact-sheet.png; do
  if ! diff -rq "$fresh/$kind" "$assets/$kind"; then
    echo "assets/$kind differs from what the generators make: run tools/generate-assets.sh" >&2
    status=1
  fi
done
exit $status

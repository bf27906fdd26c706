#!/usr/bin/env bash
# Regenerates the game's media sources under assets/ (or the folder given): the pictures with
# tools/artgen (needs cairo), at the cast's size in art/ and 2, 3 and 4 times finer in art@2x/,
# art@3x/ and art@4x/, and the sounds with tools/soundgen (needs libvorbisenc), then the contact
# sheet of the whole cast as the runtime loads it (qmftool sheet). The output is byte-for-byte
# reproducible; tests/game checks that the committed files are what these tools make.
#   tools/generate-assets.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BOULES_BUILD_DIR:-build}
out=${1:-assets}

cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target artgen soundgen
mkdir -p "$out/art" "$out/sound"
"$build/tools/artgen/artgen" "$out/art"
for scale in 2 3 4; do
  mkdir -p "$out/art@${scale}x"
  "$build/tools/artgen/artgen" --scale $scale "$out/art@${scale}x"
done
"$build/tools/soundgen/soundgen" "$out/sound"

cmake --build "$build" --target qmftool
packed=$(mktemp -d)
trap 'rm -rf "$packed"' EXIT
cp assets/cast.manifest "$packed/"
ln -s "$(realpath "$out/art")" "$packed/art"
ln -s "$(realpath "$out/sound")" "$packed/sound"
"$build/tools/qmftool" pack "$packed/cast.manifest" "$packed/MyMovie.qmf" "$packed/cast_table.cpp"
"$build/tools/qmftool" sheet "$packed/cast.manifest" "$packed/MyMovie.qmf" "$out/contact-sheet.png"

#!/usr/bin/env bash
# The libraries form layers: a folder may include its own headers and those of the folders
# before it, never one after it. Only the lowest layer (the platform) talks to SDL: every other
# folder reaches the window, the events and the sound device through it. Reports every include
# that goes against either rule.
#   check-layers.sh ROOT FOLDER...   (the folders in layer order, lowest first)
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 ROOT FOLDER... (lowest layer first)" >&2
  exit 2
fi
root=$1
shift
declare -A rank
position=0
for folder in "$@"; do
  rank[$folder]=$position
  position=$((position + 1))
done

violations=0
for folder in "$@"; do
  [ -d "$root/$folder" ] || continue
  while IFS= read -r hit; do
    # hit: FILE:LINE:#include "TOP/..."
    file=${hit%%:*}
    line=${hit#*:}
    line=${line%%:*}
    included=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/' <<<"$hit")
    [ -n "${rank[$included]+known}" ] || continue
    if [ "${rank[$included]}" -gt "${rank[$folder]}" ]; then
      echo "${file#"$root"/}:$line: $folder includes $included, a layer above it" >&2
      violations=$((violations + 1))
    fi
  done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$root/$folder" || true)
done

platform=$1
for folder in "${@:2}"; do
  [ -d "$root/$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    line=${hit#*:}
    line=${line%%:*}
    echo "${file#"$root"/}:$line: $folder includes SDL, which only $platform may" >&2
    violations=$((violations + 1))
  done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/)?SDL[A-Za-z0-9_]*\.h[>"]' "$root/$folder" || true)
done

if [ $violations -gt 0 ]; then
  echo "$violations include(s) against the layer order: $*" >&2
  exit 1
fi

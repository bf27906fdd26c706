#!/usr/bin/env bash
# The libraries form layers: a folder may include its own headers and those of the folders
# before it, never one after it. Only the lowest layer (the platform) talks to SDL: every other
# folder reaches the window, the events and the sound device through it. Only the lowest layer
# and the folders named with --network (a program of its own, the room server) use the network
# library (Boost.Asio, Boost.Beast). Reports every include that goes against a rule.
#   check-layers.sh [--network FOLDER]... ROOT FOLDER...   (the folders in layer order, lowest first)
set -euo pipefail
declare -A network
while [ "${1:-}" = --network ] && [ $# -ge 2 ]; do
  network[$2]=1
  shift 2
done
if [ $# -lt 2 ]; then
  echo "usage: $0 [--network FOLDER]... ROOT FOLDER... (lowest layer first)" >&2
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
# includes FOLDER PATTERN: "FILE LINE INCLUDE-LINE" for every include in FOLDER matching PATTERN.
includes() {
  grep -rnE --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*$2" "$root/$1" |
    sed -E "s|^$root/([^:]*):([0-9]+):|\1 \2 |" || true
}
violation() {  # violation FILE LINE MESSAGE
  echo "$1:$2: $3" >&2
  violations=$((violations + 1))
}

for folder in "$@"; do
  [ -d "$root/$folder" ] || continue
  while read -r file line text; do
    included=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/' <<<"$text")
    [ -n "${rank[$included]+known}" ] || continue
    if [ "${rank[$included]}" -gt "${rank[$folder]}" ]; then
      violation "$file" "$line" "$folder includes $included, a layer above it"
    fi
  done < <(includes "$folder" '"[^"/]+/')
done

platform=$1
for folder in "${@:2}"; do
  [ -d "$root/$folder" ] || continue
  while read -r file line _; do
    violation "$file" "$line" "$folder includes SDL, which only $platform may"
  done < <(includes "$folder" '[<"](SDL2?/)?SDL[A-Za-z0-9_]*\.h[>"]')
done

for folder in "${@:2}"; do
  [ -d "$root/$folder" ] && [ -z "${network[$folder]+named}" ] || continue
  while read -r file line _; do
    violation "$file" "$line" "$folder includes the network library, which only $platform and the programs named with --network may"
  done < <(includes "$folder" '<boost/(asio|beast)')
done

if [ $violations -gt 0 ]; then
  echo "$violations include(s) against the layer order: $*" >&2
  exit 1
fi

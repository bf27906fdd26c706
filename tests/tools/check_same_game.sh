#!/usr/bin/env bash
# The same game from a program built for another architecture: its game report of eight demo
# games and its screenshots of the menu, at 1x and composed at 4x, must be the reference
# program's, byte for byte.
#   check_same_game.sh REFERENCE_PROGRAM COMMAND...
# COMMAND runs the other program (under its emulator; paths absolute); both run headless in a
# scratch folder.
set -euo pipefail
reference=$(realpath "$1")
shift
command=("$@")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0

# run_both NAME OPTIONS...: each program with OPTIONS, the last of which names the output file:
# NAME-reference and NAME-other.
run_both() {
  local name=$1 side
  shift
  for side in reference other; do
    local program=("$reference")
    [ "$side" = reference ] || program=("${command[@]}")
    local code=0
    (cd "$scratch" && "${program[@]}" --headless "$@" "${name}-$side" 2>"$scratch/$name-$side.log") || code=$?
    if ((code != 0)); then
      echo "same game: the $side program failed with exit code $code ($*):" >&2
      cat "$scratch/$name-$side.log" >&2
      status=1
    fi
  done
}

run_both report.jsonl --demo 8 --report
if ! cmp -s "$scratch/report.jsonl-reference" "$scratch/report.jsonl-other"; then
  echo "same game: the reports of 8 demo games differ (first lines that do):" >&2
  diff "$scratch/report.jsonl-reference" "$scratch/report.jsonl-other" | head -n 12 >&2 || true
  status=1
fi
# The menu at the screen's own size, and at 4x from the finer pictures: JPEG decoded alike too.
for scale in 1 4; do
  run_both "menu-$scale.png" --frames 100 --scale "$scale" --screenshot
  if ! cmp -s "$scratch/menu-$scale.png-reference" "$scratch/menu-$scale.png-other"; then
    echo "same game: the menu screenshots at ${scale}x differ" >&2
    status=1
  fi
done
((status == 0)) && echo "same game: $(wc -l <"$scratch/report.jsonl-other") report lines of 8 demo games and the menu screenshots at 1x and 4x"
exit $status

#!/usr/bin/env bash
# The soak: the program plays GAMES games by itself (headless attract mode, 1000 by default) with
# the game report and the frame statistics, and this checks that
#   - the program ended with exit code 0 and every game ended ("end") and came back to the menu
#     ("menu") within MAX_GAME_FRAMES frames;
#   - peak resident memory stays within 10 % of its value after game 10 (the first game when
#     fewer are played); skipped with --no-memory-check, for sanitizer builds whose allocator keeps
#     freed memory in quarantine;
#   - the script pool's cells in use on the menu after every game are within CELL_SLACK of their
#     value after the first game with the same line-up (the line-ups repeat every 4 games; the
#     menu keeps the last game's player records and texts, the names, distances and win counts,
#     whose lengths vary a little), so nothing piles up from game to game.
# The frame statistics are printed at the end. SCALE=K composes the screen at the presentation
# scale K as well (1 to 4; the frame times and the memory then include it).
#
#   [SCALE=K] bench/soak.sh [GAMES] [PROGRAM] [--no-memory-check]    (PROGRAM: build/shell/boules)
set -euo pipefail
cd "$(dirname "$0")/.."

games=${1:-1000}
program=${2:-build/shell/boules}
memory_check=1
[ "${3:-}" = "--no-memory-check" ] && memory_check=0
max_game_frames=20100  # the demo's own limit (20000 from START back to the menu) and its taps
cell_slack=8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
report=$work/report.jsonl

started=$(date +%s)
if ! "$program" --headless --scale "${SCALE:-1}" --demo "$games" --report "$report" --stats 2>"$work/stats.txt"; then
  echo "SOAK FAILED: the program ended with an error" >&2
  tail -n 20 "$work/stats.txt" >&2
  exit 1
fi
seconds=$(($(date +%s) - started))

awk -v games="$games" -v max_frames="$max_game_frames" -v memory_check="$memory_check" -v slack="$cell_slack" '
  function field(name,   m) {
    if (match($0, "\"" name "\":[0-9]+")) return substr($0, RSTART + length(name) + 3, RLENGTH - length(name) - 3) + 0
    return -1
  }
  /"type":"end"/ { ends++ }
  /"type":"menu"/ {
    g = field("game"); frame[g] = field("frame"); cells[g] = field("cells"); peak[g] = field("peakResident"); menus++
  }
  END {
    failed = 0
    if (ends != games || menus != games) { printf "games asked %d, ended %d, back on the menu %d\n", games, ends, menus; failed = 1 }
    previous = 0
    for (g = 1; g <= menus; g++) {
      if (frame[g] - previous > max_frames) { printf "game %d took %d frames\n", g, frame[g] - previous; failed = 1 }
      if (frame[g] - previous > longest) longest = frame[g] - previous
      previous = frame[g]
      first = (g - 1) % 4 + 1
      if (cells[g] > cells[first] + slack || cells[g] < cells[first] - slack) {
        printf "game %d left %d cells in use on the menu, game %d left %d\n", g, cells[g], first, cells[first]; failed = 1
      }
      if (g > 4 && cells[g] - cells[first] > drift) drift = cells[g] - cells[first]
    }
    base = menus >= 10 ? 10 : 1
    for (g = base + 1; memory_check && g <= menus; g++)
      if (peak[g] > peak[base] * 1.1) { printf "peak memory grew from %d KiB after game %d to %d KiB after game %d\n", peak[base] / 1024, base, peak[g] / 1024, g; failed = 1; break }
    printf "games %d, frames %d, longest game %d frames, menu cells after games 1-4 %d %d %d %d (later games at most %d more), peak memory %d KiB after game %d, %d KiB at the end\n",
      menus, frame[menus], longest, cells[1], cells[2], cells[3], cells[4], drift, peak[base] / 1024, base, peak[menus] / 1024
    exit failed
  }' "$report" || { echo "SOAK FAILED" >&2; cat "$work/stats.txt"; exit 1; }

cat "$work/stats.txt"
echo "soak passed: $games games in $seconds s"

#!/usr/bin/env bash
# Measures the program as a desktop citizen (run by hand, never in CI):
#   - idle: CPU share of one core and wake-ups a second (context switches of all its threads)
#     while the menu stands still in a window, sampled from /proc over IDLE_SECONDS;
#   - start: milliseconds from process start to the end of the first frame, taken from a run of
#     `--frames 1` (start, first frame, shutdown), the median of START_RUNS runs, headless and in
#     a window with a sound device. `--frames` runs on the frame clock, where sounds decode at
#     once; the real-time start (sounds decoding in the background) is measured by
#     BM_GameStartToFirstFrame in build/bench/shell/shell_bench.
# Usage: [SCALE=K] bench/shell/measure_idle_and_start.sh [BUILD_DIR]   (default: build)
# SCALE: the window's scale for the idle menu, which composes the screen at min(K, 4) (default 1).
# Needs Xvfb (package xvfb) for the window; SDL's "disk" audio driver stands in for a sound card
# so that the sounds are decoded and mixed as on a machine with one.
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:-build}/shell/boules
idle_seconds=${IDLE_SECONDS:-10}
start_runs=${START_RUNS:-15}
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "needs Xvfb (apt-get install xvfb)" >&2; exit 1; }

display=:$((90 + RANDOM % 500))
Xvfb "$display" -screen 0 1920x1440x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
workdir=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$workdir"' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null

# Voluntary and involuntary context switches of one thread (/proc/PID/task/TID).
thread_switches() { awk '/ctxt_switches/ {sum += $2} END {print sum}' "$1/status"; }
# The same summed over every thread of process $1.
switches() {
  local total=0 task
  for task in /proc/"$1"/task/*; do total=$((total + $(thread_switches "$task"))); done
  echo "$total"
}
cpu_ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }  # user + system, in clock ticks

scale=${SCALE:-1}
(cd "$workdir" && exec "$OLDPWD/$program" --scale "$scale") &
game=$!
sleep 3  # start-up and the menu's first frames
switches_before=$(switches "$game")
main_before=$(thread_switches /proc/"$game"/task/"$game")
ticks_before=$(cpu_ticks "$game")
sleep "$idle_seconds"
switches_after=$(switches "$game")
main_after=$(thread_switches /proc/"$game"/task/"$game")
ticks_after=$(cpu_ticks "$game")
kill "$game"
wait "$game" 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v s=$((switches_after - switches_before)) -v m=$((main_after - main_before)) -v t=$((ticks_after - ticks_before)) \
  -v hz="$hz" -v secs="$idle_seconds" \
  -v scale="$scale" \
  'BEGIN { printf "idle menu at scale %d: %.1f %% of a core, %.0f wake-ups a second (main loop %.0f; all threads with the sound playing), over %d s\n", scale, 100 * t / hz / secs, s / secs, m / secs, secs }'

# Milliseconds of one run of the program with the given options (median of start_runs).
median_run() {
  local times=() i start end
  for ((i = 0; i < start_runs; ++i)); do
    start=$(date +%s%N)
    (cd "$workdir" && "$OLDPWD/$program" "$@" >/dev/null 2>&1)
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {m = a[int((NR + 1) / 2)]; printf "%.1f ms (min %.1f, max %.1f)\n", m / 1000, a[1] / 1000, a[NR] / 1000}'
}
echo "start to first frame, headless:         $(median_run --headless --frames 1)"
echo "start to first frame, window and sound (frame clock): $(median_run --frames 1 --scale 1)"

// The shell's costs: presenting a full screen through the window's texture, one turn of the main
// loop while the movie is idle (it sleeps until the next tick with work), the share of a CPU and
// the loop turns a second of the idle program, and the game's start to its first frame. Runs on
// SDL's dummy video driver unless a display is set (bench/shell/measure_idle_and_start.sh runs
// the whole program under Xvfb).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "engine/movie.h"
#include "shell/application.h"
#include "platform/main_window.h"
#include "platform/video_system.h"
#include "shell/program_movie.h"
#include "shell/screen_buffer.h"
#include "shell/shell_display_host.h"
#include "gfx/stage_images.h"
#include "tests/shell/test_movie.h"

namespace qn {
namespace {

void useDummyDriversUnlessSet() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}

// The whole stage shown: the stage image presented into the screen (turned for 90 and -90) and,
// at a presentation scale, the screen image into the screen that large; the larger screen
// streamed to the window's texture and shown.
void BM_PresentFullStage(benchmark::State& state) {
  useDummyDriversUnlessSet();
  const auto format = static_cast<DisplayFormat>(state.range(0));
  const auto orientation = static_cast<int32_t>(state.range(1));
  const auto scale = static_cast<int32_t>(state.range(2));
  platform::VideoSystem video;
  {
    platform::MainWindow window;
    if (!window.create("bench", scale, false, bytesPerPixel(format) * 8, false, {})) {
      state.SkipWithError("no window");
      return;
    }
    ShellDisplayHost host(format, ClockKind::realTime, &window);
    StageImages images;
    const bool turned = orientation != 0;
    const int32_t width = turned ? kScreenHeight : kScreenWidth, height = turned ? kScreenWidth : kScreenHeight;
    Value stage = images.createStageImage(width, height, static_cast<int32_t>(format));
    images.fill(stage, {0, 0, kScreenHeight, kScreenHeight}, 0x336699);
    Value screen = scale > 1 ? images.createStageImage(width * scale, height * scale, static_cast<int32_t>(format)) : Value();
    if (scale > 1) images.fill(screen, {0, 0, kScreenHeight * scale, kScreenHeight * scale}, 0x336699);
    for (auto _ : state) host.showStage({stage, screen, scale, orientation}, {0, 0, kScreenWidth, kScreenHeight});
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight * scale * scale);
  }
}
BENCHMARK(BM_PresentFullStage)
    ->ArgsProduct({{static_cast<int>(DisplayFormat::rgb565), static_cast<int>(DisplayFormat::argb8888)}, {0, 90, -90}, {1, 4}})
    ->ArgNames({"format", "orientation", "scale"});

// The idle program: a window, a movie whose frames change nothing, the real-time clock.
class IdleProgram {
 public:
  IdleProgram() : application_(options(), "boules-bench") {
    useDummyDriversUnlessSet();
    ok_ = !application_.start([](DisplayHost& display, SoundMixer& mixer) {
      return test::TestMovie::make(display, mixer);
    });
  }
  ~IdleProgram() { application_.shutdown(); }
  bool ok() const { return ok_; }
  bool turn() { return application_.turn(); }

 private:
  static ShellOptions options() {
    ShellOptions options;
    options.scale = 1;
    return options;
  }
  Application application_;
  bool ok_ = false;
};

void BM_IdleMainLoopTurn(benchmark::State& state) {
  IdleProgram program;
  if (!program.ok()) {
    state.SkipWithError("the program did not start");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(program.turn());
}
BENCHMARK(BM_IdleMainLoopTurn)->Unit(benchmark::kMillisecond);

// CPU seconds the idle program uses per second of wall time (the loop sleeps between turns).
void BM_IdleProgramCpuShare(benchmark::State& state) {
  IdleProgram program;
  if (!program.ok()) {
    state.SkipWithError("the program did not start");
    return;
  }
  double share = 0, turns = 0;
  for (auto _ : state) {
    auto wallStart = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    turns = 0;
    for (; std::chrono::steady_clock::now() - wallStart < std::chrono::seconds(1); ++turns) program.turn();
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    share = (static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC) / wall;
    turns /= wall;
  }
  state.counters["cpu_per_wall_second"] = share;
  state.counters["loop_turns_per_second"] = turns;
}
BENCHMARK(BM_IdleProgramCpuShare)->Iterations(2)->Unit(benchmark::kMillisecond);

// The game in a window on the real-time clock, from the application's start to its first frame
// on screen, with a sound device when SDL has one (SDL_AUDIODRIVER=disk stands in for a card).
// The frame comes one frame period (33 ms) after the movie is made, so the counter
// `start_ms` gives the part before the first tick: start-up less that wait.
void BM_GameStartToFirstFrame(benchmark::State& state) {
  useDummyDriversUnlessSet();
  double startMs = 0;
  for (auto _ : state) {
    auto begun = std::chrono::steady_clock::now();
    ShellOptions options;
    options.scale = 1;
    Application application(options, "boules-bench");
    if (application.start(makeProgramMovie)) {
      state.SkipWithError("the game did not start");
      return;
    }
    startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
    while (application.movie()->currentFrame() < 1 && application.turn()) {
    }
    state.PauseTiming();
    application.shutdown();
    state.ResumeTiming();
  }
  state.counters["start_ms"] = startMs;
}
BENCHMARK(BM_GameStartToFirstFrame)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qn

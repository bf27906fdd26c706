// The process: the main routine, the window procedure and the polling main loop.
//
// Start-up runs in a fixed order: the shared integers, the window title, the single-instance
// rule, the window, the display and input devices, the mixer, the display host, the colour
// check, the movie (created and defined), the window shown. Each step of the loop then takes
// every pending window event and ticks the movie unless the program is suspended; between steps
// the loop rests until the next event or the next tick that has work (at most 100 ms while
// suspended). The platform runs the loop: the desktop itself, the browser once per animation
// frame. Shutdown destroys the movie, the host and the mixer in that order.
//
// Every input, whether from the window, a game controller or a replayed recording, goes through
// `input` as the device's message, so all three drive the movie the same way.
//
// In a room (`--host`, `--join`) the movie runs on the frame clock, so that every device plays the
// same game, and the room decides which input reaches it and when a tick may run
// (shell/room_session.h): this device's own input waits for the next tick and counts only when
// it has the say; without the say, the ticks follow the room's log. The window's focus changes
// are input like the rest there and do not suspend the loop (the room goes on).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/display_host.h"
#include "engine/movie.h"
#include "platform/main_loop.h"
#include "script/value.h"
#include "shell/command_line.h"
#include "net/device_input.h"
#include "shell/exit_code.h"
#include "shell/input_recording.h"
#include "shell/key_translator.h"
#include "shell/program_movie.h"

namespace qn {

class KeptState;
class Movie;
class PageNotices;
class RoomSession;
class ScaledSetArrival;
class ShellDisplayHost;
class SoundMixer;
class UnattendedPlay;
class WindowInput;
namespace game {
class GameMovie;
}
namespace platform {
class MainWindow;
class SingleInstance;
class VideoSystem;
class WindowEvents;
}

// Makes the compiled movie (a Movie subclass) over the shell's display host and mixer.
using MovieFactory = std::function<ProgramMovie(DisplayHost& display, SoundMixer& mixer)>;

inline constexpr const char* kWindowClassName = "QuarnPlayerWinClass";
inline constexpr const char* kColourDepthMessage = "Sorry, this application requires a 16-bit or 32-bit color screen.";

// The program's name as the window title: its file name without folder and extension.
std::string windowTitleOf(std::string_view programPath);

// The colour check: a display of 5-6-5 or at least 16 bits passes; any other tells the user.
bool colourDepthAccepted(const DisplayHost& display);

class Application final : public platform::LoopSteps {
 public:
  Application(ShellOptions options, std::string title);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The main routine: start, loop, shut down; the program's exit code. In the browser the loop
  // goes on after this returns (the application must live on) and the page gets the exit code.
  int run(const MovieFactory& makeMovie);

  // The routine in parts, for tests that act between turns. `start` answers the exit code when
  // the program ends before the loop (a second copy, no window, a refused display, an unusable
  // recording). A refused media file ends the loop at its first turn with the media's exit code.
  std::optional<int> start(const MovieFactory& makeMovie);
  bool turn();  // one step of the main loop and the rest after it; false once the loop has ended
  int shutdown();

  // The loop's parts (see platform/main_loop.h).
  bool step() override;
  int32_t restMilliseconds() override;
  void rest(int32_t milliseconds) override;
  int finish() override { return shutdown(); }

  // The window procedure's rows. A press from the person ends a running demo.
  void input(const DeviceInput& message);
  void focusGained();
  void focusLost();
  void windowDestroyed();  // the window closed: the loop ends after this turn
  void releaseMedia();     // the system is low on memory
  // Mutes or unmutes the sound; the window's title says so, and a person's game keeps it.
  void setMuted(bool muted);

  bool suspended() const { return suspended_; }
  bool loopEnded() const { return quit_; }
  uint32_t framesTicked() const { return framesTicked_; }
  Movie* movie() const { return movie_; }
  ShellDisplayHost* displayHost() const { return host_.get(); }
  platform::MainWindow* window() const { return window_.get(); }
  WindowInput* windowInput() const { return windowInput_.get(); }
  const std::string& title() const { return title_; }
  SoundMixer* mixer() const { return mixer_.get(); }
  // Writes the screen as PNG, at the presentation scale it is composed at (240 x 320 at 1); a
  // failure is said on standard error (after `source`, the option or key that asked) and fails
  // the run.
  bool writeScreenshot(const std::string& path, std::string_view source);
  // Composes the screen at `scale` (1 to 4) from the next frame on. A window follows its own size
  // at every turn; the browser's page sets the scale its canvas needs.
  void setPresentationScale(int scale);
  // A finer media set for `scale` was put beside the media file since the program started: the
  // cast takes it (or says in the debug log why not) once the pictures it has for the screen are
  // decoded, one a turn, so that no frame waits for them; the pictures at that scale then come
  // from it.
  void mediaSetArrived(int scale);
  // Another run stored what a person's game keeps (another page of the browser edition's site).
  void keptStateStoredElsewhere();

 private:
  bool frameClock() const;
  // A game a person plays: in a window, not a demo, a replay or a run of a set number of frames.
  bool keepsState() const;
  // Restores what a person's game kept: today's record and the mute setting.
  void restoreKeptState();
  // Ticks keep to real time: in a window unless --speed max, headless only with --speed real.
  bool paced() const { return frameClock() && !options_.unpaced && (!options_.headless || options_.realTime); }
  // Whether the room lets tick `framesTicked_` run now (taking what the network brought first).
  bool roomAllowsTick();
  // A device far behind the room plays silent and undrawn until it has caught up.
  void followRoomPace(bool catchingUp);
  // The window's title: the program, what the room waits for, whether the sound is muted.
  void showTitle();
  // The exit code when one cannot be used (the reason on standard error).
  std::optional<ExitCode> openRecordings();
  // The first failure of the run decides its exit code.
  void fail(ExitCode code);
  void reportWriteFailure(std::string_view source, const std::string& problem);
  int32_t frameInterval() const;
  int32_t pacedInterval() const;
  void tickMovie();
  int32_t msUntilNextTick() const;
  void drainEvents();
  void followWindowSize();
  void accept(const DeviceInput& message);  // recorded, then delivered
  Playing deliver(const DeviceInput& message);
  int32_t orientation() const;

  ShellOptions options_;
  std::string title_;
  std::unique_ptr<platform::SingleInstance> instance_;
  std::unique_ptr<platform::VideoSystem> video_;
  std::unique_ptr<platform::MainWindow> window_;
  std::unique_ptr<WindowInput> windowInput_;
  std::unique_ptr<platform::WindowEvents> windowEvents_;
  std::unique_ptr<SoundMixer> mixer_;
  std::unique_ptr<ShellDisplayHost> host_;
  Value movieValue_;
  Movie* movie_ = nullptr;
  KeyTranslator keys_;
  InputRecorder recorder_;
  OutputFile frameTimes_;
  std::unique_ptr<InputReplay> replay_;
  std::unique_ptr<UnattendedPlay> unattended_;
  game::GameMovie* game_ = nullptr;  // the movie, when it is the game
  std::unique_ptr<KeptState> kept_;
  std::unique_ptr<PageNotices> pageNotices_;
  std::vector<std::unique_ptr<ScaledSetArrival>> arrivingSets_;  // readied in turn, the first first
  std::unique_ptr<RoomSession> room_;
  bool roomBlocked_ = false;  // the last step's tick waited for the room
  uint32_t roomFramesBehind_ = 0;
  bool catchingUp_ = false;
  bool personMuted_ = false;
  bool unfocusedInRoom_ = false;  // the window's focus left while in a room (told the room once)
  std::string titleStatus_;
  bool suspended_ = false;
  bool quit_ = false;
  ExitCode exitCode_ = ExitCode::success;
  uint32_t framesTicked_ = 0;
  uint32_t lastPacedTick_ = 0;
  bool started_ = false;
};

}  // namespace qn

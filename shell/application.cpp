#include "shell/application.h"

#include <algorithm>
#include <utility>

#include "cast/cast.h"
#include "cast/scaled_set_arrival.h"
#include "engine/movie.h"
#include "platform/fake_wave_output.h"
#include "platform/image_encoder.h"
#include "platform/main_window.h"
#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "platform/single_instance.h"
#include "platform/text_renderer.h"
#include "platform/video_system.h"
#include "platform/wave_output.h"
#include "platform/window_events.h"
#include "platform/window_message_box.h"
#include "script/report_error.h"
#include "game/game_movie.h"
#include "shell/debug_log.h"
#include "shell/kept_state.h"
#include "shell/page_notices.h"
#include "shell/output_file.h"
#include "shell/room_session.h"
#include "shell/shell_display_host.h"
#include "shell/unattended_play.h"
#include "shell/window_icon.h"
#include "shell/window_input.h"
#include "sound/sound_mixer.h"

namespace qn {

namespace {

constexpr uint32_t kMixerRate = 22050;
constexpr int32_t kSuspendedWait = 100;  // milliseconds per loop turn in the background
// A device following a room: a few frames behind the mark it plays at up to twice the pace;
// more than two seconds behind it plays as fast as it can, silent and not drawn.
constexpr uint32_t kRoomBufferFrames = 2;
constexpr uint32_t kCatchUpFrames = 60;
constexpr int32_t kRoomWait = 50;  // milliseconds a loop turn waits for the room's network

// Headless runs have no audio device: an output offering no format leaves the mixer silent.
std::unique_ptr<platform::WaveOutput> silentWaveOutput() { return std::make_unique<platform::FakeWaveOutput>(0); }

}  // namespace

std::string windowTitleOf(std::string_view programPath) {
  size_t slash = programPath.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

bool colourDepthAccepted(const DisplayHost& display) {
  int32_t format = display.displayFormat();
  if (format == kDisplay565 || format >= 16) return true;
  platform::messageBox(kColourDepthMessage, "", platform::MessageBoxButtons::ok);
  return false;
}

Application::Application(ShellOptions options, std::string title)
    : options_(std::move(options)), title_(std::move(title)) {}

Application::~Application() {
  if (started_) shutdown();
}

int Application::run(const MovieFactory& makeMovie) {
  if (std::optional<int> ended = start(makeMovie)) {
    shutdown();
    return platform::endWithoutLoop(*ended);
  }
  return platform::runMainLoop(*this);
}

bool Application::frameClock() const {
  return options_.headless || options_.frames > 0 || !options_.recordPath.empty() || !options_.replayPath.empty() ||
         options_.demoGames.has_value() || options_.inRoom();
}

std::optional<int> Application::start(const MovieFactory& makeMovie) {
  started_ = true;
  exitCode_ = ExitCode::success;
  debug_log::takeProblem();  // a log of an earlier run in this process is not this run's
  initValueModel();
  setErrorSink(debug_log::writeLine);
  platform::setFaceNoticeSink(debug_log::writeLine);

  // A headless run has no window to bring forward, and tests run many at once.
  if (!options_.headless) {
    instance_ = std::make_unique<platform::SingleInstance>(std::string(kWindowClassName) + "-" + title_);
    if (!instance_->isFirst()) return 0;

    video_ = std::make_unique<platform::VideoSystem>();
    if (!video_->started()) return exitStatus(ExitCode::noDisplay);
    window_ = std::make_unique<platform::MainWindow>();
    if (!window_->create(title_, options_.scale, options_.fullscreen, bytesPerPixel(options_.displayFormat) * 8,
                         options_.wholePixels, {kWindowIconSize, kWindowIconRgba}))
      return exitStatus(ExitCode::noDisplay);
    platform::installWindowMessageBox(window_.get());
    windowInput_ = std::make_unique<WindowInput>(*this, *window_);
    windowEvents_ = std::make_unique<platform::WindowEvents>(*window_, *windowInput_);
  }

  // Recordings are opened before anything is shown, so a bad one ends the program at once (and
  // a second copy never touches the first one's files).
  if (std::optional<ExitCode> refused = openRecordings()) return exitStatus(*refused);

  mixer_ = std::make_unique<SoundMixer>(kMixerRate, true,
                                        options_.headless ? silentWaveOutput() : platform::makeSystemWaveOutput());
  mixer_->setBackgroundDecoding(true);
  host_ = std::make_unique<ShellDisplayHost>(options_.displayFormat,
                                             frameClock() ? ClockKind::frame : ClockKind::realTime, window_.get());
  // On the frame clock a sound lasts its length in frames, device or not; without a device a
  // sound that is never mixed still ends.
  if (frameClock() || !mixer_->hasDevice())
    mixer_->followClock([host = host_.get()] { return static_cast<uint32_t>(host->now()); });
  if (!colourDepthAccepted(*host_)) return exitStatus(ExitCode::noDisplay);

  ProgramMovie made = makeMovie(*host_, *mixer_);
  movieValue_ = made.movie;
  movie_ = dynamic_cast<Movie*>(movieValue_.object());
  if (movie_ == nullptr) {
    platform::debugOutput("the program has no movie to play\n");
    return exitStatus(ExitCode::unexpectedError);
  }
  host_->readKeysFrom(keys_);
  const bool ready = movie_->defineMovie();
  fail(exitCodeFor(movie_->mediaCheck()));
  if (!ready) windowDestroyed();  // the loop ends at its first turn
  if (options_.headless && !options_.wholePixels && options_.scale > 1) setPresentationScale(options_.scale);
  followWindowSize();
  game_ = made.game;
  if (keepsState()) restoreKeptState();
  if (game_ != nullptr) {
    pageNotices_ = std::make_unique<PageNotices>([this] { return framesTicked_; });
    game_->observers().add(*pageNotices_);
  }

  unattended_ = std::make_unique<UnattendedPlay>(options_);
  if (std::optional<ExitCode> refused = unattended_->begin(made.game, *host_)) return exitStatus(*refused);

  if (options_.inRoom()) {
    if (game_ == nullptr) {
      platform::debugOutput("--host and --join need the game's movie\n");
      return exitStatus(ExitCode::unexpectedError);
    }
    // Links go to standard output, a line by itself, at once: whoever started the program reads them.
    room_ = std::make_unique<RoomSession>(options_, [](const std::string& line) {
      std::fputs((line + "\n").c_str(), stdout);
      std::fflush(stdout);
    });
    room_->follow(game_);
    if (std::string problem = room_->start(); !problem.empty()) {
      platform::debugOutput(problem + "\n");
      return exitStatus(ExitCode::roomFailed);
    }
  }

  if (window_) window_->show();
  return std::nullopt;
}

bool Application::keepsState() const {
  return window_ && !options_.demoGames && options_.replayPath.empty() && options_.frames == 0;
}

void Application::restoreKeptState() {
  kept_ = std::make_unique<KeptState>(title_, localDate);
  if (game_ != nullptr) {
    if (kept_->todaysRecord()) game_->startTodayFrom(*kept_->todaysRecord());
    game_->observers().add(*kept_);
  }
  if (kept_->muted()) setMuted(true);
}

void Application::setMuted(bool muted) {
  if (!mixer_) return;
  personMuted_ = muted;
  mixer_->setMuted(muted || catchingUp_);
  showTitle();
  if (kept_) kept_->setMuted(muted);
}

std::optional<ExitCode> Application::openRecordings() {
  if (!options_.replayPath.empty()) {
    std::string error;
    std::vector<TimedInput> events;
    if (!loadRecording(options_.replayPath, events, error)) {
      platform::debugOutput("--replay " + options_.replayPath + ": " + error + "\n");
      return ExitCode::recordingRefused;
    }
    replay_ = std::make_unique<InputReplay>(std::move(events));
  }
  if (!options_.recordPath.empty() && !recorder_.open(options_.recordPath)) {
    reportWriteFailure("--record", recorder_.file().problem());
    return ExitCode::writeFailed;
  }
  if (!options_.frameTimesPath.empty() && !frameTimes_.open(options_.frameTimesPath)) {
    reportWriteFailure("--frame-times", frameTimes_.problem());
    return ExitCode::writeFailed;
  }
  return std::nullopt;
}

void Application::fail(ExitCode code) {
  if (exitCode_ == ExitCode::success) exitCode_ = code;
}

void Application::reportWriteFailure(std::string_view source, const std::string& problem) {
  platform::debugOutput(std::string(source) + " " + problem + "\n");
  fail(ExitCode::writeFailed);
}

int32_t Application::orientation() const { return movie_ != nullptr ? movie_->orientation() : 0; }

int32_t Application::frameInterval() const {
  int32_t tempo = movie_ != nullptr ? movie_->tempo() : 1;
  return tempo >= 1000 ? 1 : 1000 / std::max(tempo, 1);
}

bool Application::turn() {
  if (!step()) return false;
  rest(restMilliseconds());
  return !quit_;
}

bool Application::step() {
  if (quit_) return false;
  drainEvents();
  if (quit_) return false;
  if (suspended_) return true;
  followWindowSize();
  tickMovie();
  if (!arrivingSets_.empty() && !arrivingSets_.front()->step()) {
    arrivingSets_.front()->finish();
    arrivingSets_.erase(arrivingSets_.begin());
  }
  if (windowInput_) windowInput_->followScreen();
  return !quit_;
}

// A window rests until the next event or the next tick with work, whichever comes first, so
// input is handled the moment it arrives; in the background it looks in every 100 ms. Unpaced
// runs never rest, unless they wait for the room's network.
int32_t Application::restMilliseconds() {
  if (suspended_) return kSuspendedWait;
  if (!paced()) return roomBlocked_ ? kRoomWait : 0;
  return std::max(msUntilNextTick(), 1);
}

// A window rests on its events; waiting for the room, it looks at the network every 10 ms. A
// headless device rests on the network, or sleeps when paced.
void Application::rest(int32_t milliseconds) {
  if (milliseconds <= 0) return;
  if (windowEvents_) windowEvents_->waitUpTo(room_ && roomBlocked_ ? std::min(milliseconds, 10) : milliseconds);
  else if (room_) room_->waitUpTo(milliseconds);
  else platform::sleepMilliseconds(static_cast<uint32_t>(milliseconds));
}

int32_t Application::msUntilNextTick() const {
  if (!frameClock()) return movie_->msUntilNextTick();
  // Paced to real time: one frame a frame interval after the last one.
  const uint32_t sinceLast = platform::monotonicMilliseconds() - lastPacedTick_;
  return static_cast<int32_t>(std::max<int64_t>(int64_t{pacedInterval()} - sinceLast, 0));
}

// A device following a room a few frames behind the mark plays at twice the pace until it has
// caught up.
int32_t Application::pacedInterval() const {
  return frameInterval() / (roomFramesBehind_ > kRoomBufferFrames ? 2 : 1);
}

// With the frame clock every tick is one frame: the clock moves one frame interval, and the
// recorded input of that frame arrives first. In a window the ticks keep to real time.
void Application::tickMovie() {
  if (frameClock()) {
    if (room_ && !roomAllowsTick()) return;
    roomFramesBehind_ = room_ ? room_->framesBehind(framesTicked_) : 0;
    followRoomPace(roomFramesBehind_ > kCatchUpFrames);
    if (paced() && !catchingUp_) {
      uint32_t realNow = platform::monotonicMilliseconds();
      const uint32_t interval = static_cast<uint32_t>(pacedInterval());
      if (framesTicked_ > 0 && realNow - lastPacedTick_ < interval) return;
      // Frames keep to their beat (a tick a little late does not delay the next one); lateness
      // of more than a frame is not made up.
      lastPacedTick_ = framesTicked_ > 0 && realNow - lastPacedTick_ < 2 * interval ? lastPacedTick_ + interval : realNow;
    }
    if (replay_) replay_->deliverDue(framesTicked_, [this](const DeviceInput& message) { input(message); });
    if (std::optional<DeviceInput> tap = unattended_->demoInput()) accept(*tap);
    if (room_) room_->deliverBefore(framesTicked_, [this](const DeviceInput& message) { accept(message); });
    if (quit_) return;
    host_->advanceClock(frameInterval());
  }
  const uint32_t framesBefore = movie_->framesStepped();
  Playing playing = Playing::on;
  if (room_) room_->beginTick(framesTicked_);
  unattended_->runTick(framesTicked_, [this, &playing] { playing = movie_->tick(); });
  if (room_) room_->endTick();
  if (frameTimes_.isOpen())
    frameTimes_.write(std::to_string(framesTicked_) + " " + std::to_string(platform::highResolutionCounter() / 1000) + "\n");
  if (movie_->framesStepped() != framesBefore) keys_.frameSeen();
  ++framesTicked_;
  if (playing == Playing::stopped) windowDestroyed();
  if (options_.frames > 0 && framesTicked_ >= options_.frames) windowDestroyed();
  if (unattended_->demoFinished()) windowDestroyed();
  if (unattended_->demoStalled()) quit_ = true;
}

bool Application::roomAllowsTick() {
  room_->poll();
  if (room_->ended()) {
    // The room cannot go on for this device: the run ends, failed.
    fail(ExitCode::roomFailed);
    windowDestroyed();
    return false;
  }
  roomBlocked_ = !room_->mayTick(framesTicked_, *movie_);
  if (std::string status = room_->waitingFor(); status != titleStatus_) {
    titleStatus_ = std::move(status);
    showTitle();
  }
  return !roomBlocked_;
}

void Application::showTitle() {
  if (window_) window_->setTitle(title_ + (titleStatus_.empty() ? "" : " - " + titleStatus_) + (personMuted_ ? " (muted)" : ""));
}

void Application::followRoomPace(bool catchingUp) {
  if (catchingUp == catchingUp_) return;
  catchingUp_ = catchingUp;
  if (mixer_) mixer_->setMuted(personMuted_ || catchingUp_);
  host_->holdWindow(catchingUp_);
}

void Application::setPresentationScale(int scale) {
  if (movie_ != nullptr) movie_->setPresentationScale(scale);
}

void Application::mediaSetArrived(int scale) {
  auto* cast = movie_ != nullptr ? dynamic_cast<Cast*>(&movie_->cast()) : nullptr;
  std::unique_ptr<ScaledSetArrival> arrival = cast != nullptr ? cast->scaledMediaArrival(scale) : nullptr;
  if (!arrival) return;
  std::erase_if(arrivingSets_, [scale](const auto& waiting) { return waiting->scale() == scale; });
  arrivingSets_.push_back(std::move(arrival));
}

void Application::keptStateStoredElsewhere() {
  if (kept_) kept_->storedElsewhere();
}

// A window composes at the scale its size asks for (resized, full screen, Ctrl+1 to 4); the
// change shows at the next frame.
void Application::followWindowSize() {
  if (!window_) return;
  if (std::optional<int> scale = window_->presentationScale()) setPresentationScale(*scale);
}

void Application::drainEvents() {
  if (instance_ && instance_->takeRaiseRequests() && window_) window_->raise();
  if (windowEvents_) windowEvents_->drain();
}

void Application::input(const DeviceInput& message) {
  if (room_) {
    room_->ownInput(message);
    return;
  }
  const bool press = message.kind == InputKind::stylusDown || message.kind == InputKind::doubleTap ||
                     message.kind == InputKind::keyDown || message.kind == InputKind::character;
  if (press && unattended_) unattended_->personTookOver();
  accept(message);
}

void Application::accept(const DeviceInput& message) {
  if (recorder_.isOpen()) recorder_.write(framesTicked_, message);
  if (deliver(message) == Playing::stopped) windowDestroyed();
}

Playing Application::deliver(const DeviceInput& message) {
  if (movie_ == nullptr || quit_) return Playing::on;
  // The point as the device passes it: two unsigned 16-bit halves.
  const IntPoint point{static_cast<int32_t>(message.value & 0xFFFF), static_cast<int32_t>(message.y & 0xFFFF)};
  switch (message.kind) {
    case InputKind::stylusMove: movie_->mouseMove(point); break;
    case InputKind::stylusDown:
    case InputKind::doubleTap: return movie_->mouseDown(point);
    case InputKind::stylusUp: return movie_->mouseUp(point);
    case InputKind::keyDown:
      if (std::optional<KeyReport> report = keys_.keyDown(message.value, orientation())) return movie_->keyDown(*report);
      break;
    case InputKind::keyUp:
      keys_.keyUp(message.value);
      return movie_->keyUp();
    case InputKind::character: return movie_->keyDown(KeyTranslator::character(message.value, message.extended));
    case InputKind::focusLost:
      movieValue_.call(sym::deactiveApplication);
      if (mixer_) mixer_->stopAll();  // channels 1 to 8
      break;
    case InputKind::focusGained: movieValue_.call(sym::activateApplication); break;
  }
  return Playing::on;
}

// The window's focus changes are input like the rest: recorded, so that a replay tells the movie
// and stops its sounds at the same frames. Only the window's own change suspends the loop (a
// replay's loss and regain come before the same tick, as no tick ran between them). Told twice
// (the browser's page hidden and its window left), the movie hears it once.
void Application::focusGained() {
  if (room_) {
    if (std::exchange(unfocusedInRoom_, false)) room_->ownInput({InputKind::focusGained});
    return;
  }
  if (!suspended_) return;
  suspended_ = false;
  accept({InputKind::focusGained});
}

void Application::focusLost() {
  if (room_) {
    if (!std::exchange(unfocusedInRoom_, true)) room_->ownInput({InputKind::focusLost});
    return;
  }
  if (suspended_) return;
  accept({InputKind::focusLost});
  suspended_ = true;
}

void Application::windowDestroyed() { quit_ = true; }

void Application::releaseMedia() {
  if (movie_ != nullptr) movie_->releaseMedia();
}

bool Application::writeScreenshot(const std::string& path, std::string_view source) {
  if (!host_) return false;
  const ScreenBuffer& screen = host_->shownScreen();
  std::vector<uint8_t> rgba = screen.toRgba();
  std::string png = platform::encodePng(screen.width(), screen.height(), rgba.data());
  std::string problem = png.empty() ? path + ": cannot encode the image" : writeOutputFile(path, png);
  if (!problem.empty()) reportWriteFailure(source, problem);
  return problem.empty();
}

int Application::shutdown() {
  // Every file the run wrote is checked to its close: a short file is a failed run.
  if (host_ && !options_.screenshotPath.empty()) writeScreenshot(options_.screenshotPath, "--screenshot");
  if (recorder_.isOpen() && !recorder_.file().close()) reportWriteFailure("--record", recorder_.file().problem());
  if (frameTimes_.isOpen() && !frameTimes_.close()) reportWriteFailure("--frame-times", frameTimes_.problem());
  if (room_) {
    room_->finish(framesTicked_);
    if (!room_->failure().empty()) fail(ExitCode::roomFailed);
    room_.reset();
  }
  if (unattended_)
    if (std::optional<ExitCode> failed = unattended_->finish()) fail(*failed);
  unattended_.reset();
  if (game_ != nullptr) {
    if (kept_) game_->observers().remove(*kept_);
    if (pageNotices_) game_->observers().remove(*pageNotices_);
  }
  game_ = nullptr;
  kept_.reset();
  pageNotices_.reset();
  arrivingSets_.clear();
  movieValue_ = Value();  // the movie closes its debug log
  movie_ = nullptr;
  if (!debug_log::takeProblem().empty()) fail(ExitCode::writeFailed);
  host_.reset();
  mixer_.reset();  // stops the mixer's worker and closes the device
  windowEvents_.reset();
  windowInput_.reset();
  platform::uninstallWindowMessageBox();
  window_.reset();
  video_.reset();
  instance_.reset();
  setErrorSink(nullptr);
  platform::setFaceNoticeSink(nullptr);
  shutdownValueModel();
  started_ = false;
  return exitStatus(exitCode_);
}

}  // namespace qn

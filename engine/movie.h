// The one object that owns a running movie: the stage and its image, the score (sprite spans),
// the sprite channels, the labels, the movie's global handlers, the actor list and the time
// keeping. The shell creates it, has it defined and loaded, calls `tick` on every turn of the
// main loop and feeds it stylus and key events between ticks. The compiled movie is a class
// derived from Movie that supplies the definition and the script-class factories.
//
// Re-entrancy: a handler may navigate (`goToFrame` inside `exitFrame` runs a whole frame entry
// inside the outer one); `wentToFrame`, `navigationLocked` and the movie-handler depth exist for
// that. Everything runs on the main thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/event_mask.h"
#include "engine/key_report.h"
#include "engine/movie_services.h"
#include "engine/random_generator.h"
#include "engine/sprite_channel.h"
#include "engine/sprite_span.h"
#include "platform/screen_point.h"
#include "script/method_table.h"
#include "script/script_host.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

class ScriptInstance;

// Nested movie-handler calls beyond this many are refused.
inline constexpr int32_t kMaxHandlerDepth = 65;
// Channels beyond `channelCount` kept in the channel array (sound sprites play there).
inline constexpr int32_t kExtraChannels = 10;
using platform::kLargestPresentationScale;
// Key codes of the hardware buttons that stop the movie unless `exitLock` is set.
inline constexpr uint8_t kQuitKeyCodes[] = {193, 195};

// The movie's answer to each step the shell gives it (its load, a tick, an input event).
enum class Playing : bool {
  on,       // it plays on
  stopped,  // it has stopped (quit, a quit key, a refused media file): the program closes now
};

struct FrameLabel {
  int32_t frame;
  std::string name;
};

class Movie : public ScriptObject, public ScriptHost {
 public:
  explicit Movie(const MovieServices& services);

  // --- the compiled-movie interface -------------------------------------------------------
  // The behaviours for a span's sprite: a list of script instances, or void for none.
  virtual Value createBehaviours(int32_t spanId, int32_t channel) = 0;
  // A new object of the script class of member (number, castLib) into `result` (ilk #instance),
  // or the integer 0 when no class belongs to the member.
  virtual void createScriptInstance(Value& result, int32_t memberNumber, int32_t castLib) = 0;
  // The compiled movie fills its definition, then runs this base load step. False when the media
  // file was refused: the movie has stopped before its first frame.
  virtual bool defineMovie();
  // Output of `put`: a line of text to the debug log.
  virtual void putText(std::string_view text);
  // Sets the compiled movie's globals back to void; result void.
  virtual void resetGlobals(Value& result) = 0;

  // --- the shell --------------------------------------------------------------------------
  // Each step answers whether the movie plays on: once it has stopped, the program closes.
  Playing tick();
  // How many frames the ticks have stepped so far (a tick steps at most one).
  uint32_t framesStepped() const { return framesStepped_; }
  // Milliseconds from now until a tick would next have work (a frame, or an idle period or a
  // rollover check that some handler hears); 0 when every tick has work. The shell sleeps that
  // long between ticks.
  int32_t msUntilNextTick();
  // The stylus at a point of the device's screen and the key the device reported. The movie keeps
  // the last point (scripts read it, turned with the stage, as the mouse location) and the last
  // key; a key-up reports the key of the last key-down.
  Playing mouseDown(IntPoint screenPoint);
  Playing mouseUp(IntPoint screenPoint);
  void mouseMove(IntPoint screenPoint);
  Playing keyDown(KeyReport key);
  Playing keyUp();
  // The presentation scale k (1 to 4, clamped): besides its stage image the movie composes a
  // screen image k times as large from the same dirty rects, which the display host shows. The
  // stage image, what scripts see and every rule stay at the stage's own size. A new scale
  // composes the whole screen image at the next frame.
  void setPresentationScale(int32_t scale);
  // The screen image of the presentation scale (void at scale 1, or before its first frame).
  const Value& screenImage() const { return screenImage_; }
  // A new image of the whole stage composed at `scale` as the screen image would show it; void
  // when it cannot be made. (Tools compare scales with it; the running screen is not touched.)
  Value composeStageAt(int32_t scale);
  // Low memory: every cast member drops its loaded data.
  void releaseMedia();
  // Calls `stopMovie`; the movie has stopped.
  void quit();
  // What the load step's media check found; anything but accepted has stopped the movie.
  MediaCheck mediaCheck() const { return mediaCheck_; }

  // --- the definition ---------------------------------------------------------------------
  void addSpan(int32_t spanId, int32_t startFrame, int32_t endFrame, int32_t channel,
               std::span<const int32_t> commands);
  void registerLabel(int32_t frame, std::string_view name);
  bool registerMovieHandler(SymbolNumber handler, int32_t castLib, int32_t memberNumber);

  // --- navigation and handlers --------------------------------------------------------------
  void goToFrame(const Value& target);
  int32_t markerFrame(int32_t offset) const;
  // Runs a handler of the movie script; false when there is none or the nesting is too deep.
  bool callMovieHandler(SymbolNumber handler, int argc, Value* result, Value* const* argv);
  bool callMovieHandler(SymbolNumber handler) { return callMovieHandler(handler, 0, nullptr, nullptr); }

  // --- sprites ------------------------------------------------------------------------------
  // The sprite of a channel, made empty when the channel has none; the shared dummy sprite for
  // channels outside 0 to channelCount.
  SpriteChannel& sprite(int32_t channel);
  // The sprite a channel holds, or null.
  SpriteChannel* spriteIn(int32_t channel) const;
  Value spriteRef(int32_t channel) const;
  // Marks what the sprite showed and what it shows now for recomposing (before and after a change).
  void invalidateSprite(SpriteChannel& sprite);
  void applyChanges(SpriteChannel& sprite, int32_t bits, bool now);
  // The topmost sprite under a stage point whose behaviours want one of `mask` (0: any): its
  // channel, or 0.
  int32_t hitSprite(IntPoint point, EventMask mask, bool visibleOnly) const;
  // A member's content changed: every sprite showing it recomputes and redraws.
  void updateSpritesShowing(const CastMember& member);
  const std::vector<SpriteChannel*>& drawOrder() const { return drawOrder_; }
  bool channelVisible(int32_t channel) const;
  void setChannelVisible(int32_t channel, bool visible);
  // The stage point under the stylus.
  IntPoint mouseLoc() const;
  // Where a stage rect shows on the device screen, the stage being turned by `orientation`.
  IntRect toWindow(const IntRect& stage) const;
  // Whether the stylus is over the sprite of a channel (no masks, visibility or stacking).
  bool rollover(int32_t channel) const;
  void redrawStage() { dirtyRect_ = stageRect_; }

  // --- events and messaging -------------------------------------------------------------------
  bool deliverToSprite(SpriteChannel& sprite, EventMask event);
  void deliverFrameEvent(EventMask event);
  void rolloverCheck();
  // Whether an idle period or a rollover check reaches any handler; one that reaches none runs
  // with the next tick that comes anyway and needs no wake-up of its own.
  bool idleIsHeard() const;
  bool rolloverIsHeard() const;
  bool sendSprite(int argc, Value* const* argv, Value& result);
  void sendAllSprites(int argc, Value* const* argv, Value& result);
  void call(int argc, Value* const* argv, Value& result);
  // The compiled handlers' entry for a call whose target is known only at run time.
  bool callGlobal(ScriptObject& receiver, Value& result, SymbolNumber method, int argc, Value* const* argv);
  // `new` of a script object: an instance of its member's class (its `new` handler not run).
  Value newInstanceOf(const Value& scriptObject);
  // The script object of a script member (by member or name), or void.
  Value scriptOf(const Value& designator);
  Value playSound(int32_t soundChannel, const Value& what);
  bool soundBusy(int32_t soundChannel) const { return services_.sound.isBusy(soundChannel); }

  // --- ScriptObject and ScriptHost -------------------------------------------------------
  void destroy(bool freeStorage) override;
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  // The global functions the movie answers itself (put, new, min, max, the messaging and chunk
  // functions); `handle` runs a movie handler for any other symbol.
  static const MethodTable<Movie, bool>& globalFunctions();
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  int32_t floatPrecision() const override { return floatPrecision_; }
  bool handleGlobal(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override {
    return handle(method, argc, result, argv, flag);
  }

  // A movie property as a Value (compiled code and tests).
  Value property(SymbolNumber name) {
    Value result;
    getProperty(result, name);
    return result;
  }

  // --- state read by scripts, renderers and tests -------------------------------------------
  const MovieServices& services() const { return services_; }
  CastTable& cast() const { return services_.cast; }
  int32_t now() const { return services_.display.now(); }
  // The clock as it stood when the current tick began: members are stamped with it when used.
  int32_t tickTime() const { return tickTime_; }
  int32_t currentFrame() const { return currentFrame_; }
  int32_t lastFrame() const { return lastFrame_; }
  int32_t tempo() const { return tempo_; }
  int32_t channelCount() const { return channelCount_; }
  int32_t colorDepth() const { return colorDepth_; }
  int32_t orientation() const { return orientation_; }
  int32_t currentSpriteNum() const { return currentSpriteNum_; }
  int32_t clickSprite() const { return clickSprite_; }
  int32_t rolloverSprite() const { return rolloverSprite_; }
  IntPoint clickLoc() const { return clickLoc_; }
  bool mouseIsDown() const { return mouseIsDown_; }
  // The stylus's last point on the device's screen, and the last key reported.
  IntPoint stylusPoint() const { return stylusPoint_; }
  KeyReport lastKey() const { return lastKey_; }
  // Whether the movie has stopped (its steps answer Playing::stopped from then on).
  bool stopped() const { return stopped_; }
  // Whether the key that produces movie key code `code` is down now (the script's `keyPressed`).
  bool keyPressed(int32_t code) const { return services_.display.keyPressed(code, orientation_); }
  bool inFrameSetup() const { return inFrameSetup_; }
  bool prefer565() const { return prefer565_; }
  bool exitLock() const { return exitLock_; }
  std::string_view itemDelimiter() const override { return itemDelimiter_; }
  const IntRect& stageRect() const { return stageRect_; }
  const IntRect& dirtyRect() const { return dirtyRect_; }
  const Value& stageImage() const { return stageImage_; }
  const Value& actorList() const { return actorList_; }
  // Marks stage-image pixels that scripts changed for presenting at the next frame.
  void addPresentRect(const IntRect& rect);
  // The script clock: ticks since the timer was last set.
  int32_t timer() const { return msToTicks(now()) - timerBase_; }
  RandomGenerator& randomGenerator() { return random_; }

  static int32_t handlerDepth();
  // The movie that is running (the one the script host is bound to), or null.
  static Movie* current();

 protected:
  ~Movie() override;

  // Set by the definition before the load step.
  int32_t stageWidth_ = 0;
  int32_t stageHeight_ = 0;
  int32_t tempo_ = 0;
  uint32_t stageColor_ = 0;
  int32_t lastFrame_ = 0;
  int32_t channelCount_ = 0;
  int32_t colorDepth_ = 16;
  bool debugLogEnabled_ = false;
  int32_t orientation_ = 0;
  std::string mediaFileName_;
  bool prefer565_ = false;
  bool exitLock_ = false;
  int64_t mediaFileSize_ = 0;
  int32_t idleHandlerPeriod_ = 1;
  int32_t rolloverPeriod_ = 1;

 private:
  void advanceFrame();
  void frameStep(int32_t target, bool withExit);
  void enterFrameWork(int32_t frame);
  void endOrContinueSprites(int32_t frame);
  void startSprites(int32_t frame, std::vector<Value>& started);
  void composeAndPresent();
  // Fills `area` of a stage-sized image drawn at `scale` with the stage colour and draws every
  // visible sprite that touches it.
  void composeInto(const Value& image, const IntRect& area, int32_t scale);
  // Brings the screen image up to the stage after the stage image composed `dirty`; answers the
  // stage rect it changed beyond `dirty` (all of it after a new scale).
  IntRect composeScreen(const IntRect& dirty);
  void runIdle();
  void pollTimeOuts();
  void stepActors();
  bool deliverToFrameScript(EventMask event);
  bool quitKey();
  void deliverKey(EventMask event);
  Playing answer() const { return stopped_ ? Playing::stopped : Playing::on; }
  void removeFromDrawOrder(SpriteChannel& sprite);
  void insertInDrawOrder(SpriteChannel& sprite);
  void replaceSprite(SpriteChannel& old, CastMember* member);
  SpriteChannel* makeSprite(CastMember* member, const SpanRef& span);
  void putAll(int argc, Value* const* argv);
  void minOrMax(int argc, Value* const* argv, Value& result, int wanted);
  bool newObject(int argc, Value* const* argv, Value& result);  // at least one argument
  bool forwardChunk(SymbolNumber method, int argc, Value* const* argv, Value& result);  // at least four
  template <SymbolNumber Function>
  static bool chunkFunction(Movie& movie, const MethodCall& call) {
    return movie.forwardChunk(Function, call.argc, call.argv, call.answer);
  }

  MovieServices services_;
  IntRect stageRect_;
  std::vector<SpanRef> spans_;
  std::vector<Value> channels_;  // a SpriteChannel or void; 0 is the frame-script channel
  std::vector<uint8_t> channelVisible_;
  std::vector<SpriteChannel*> drawOrder_;  // by (committedLocZ, channel); the slots hold the counts
  int32_t currentSpriteNum_ = 0;
  Value stageImage_;
  IntRect dirtyRect_;
  IntRect presentRect_;
  int32_t presentationScale_ = 1;
  Value screenImage_;          // void until the first frame at the scale composes it whole
  uint32_t screenPictures_ = 0;  // the cast's picture generation the screen image shows
  IntRect scriptDrawnRect_;    // stage pixels scripts changed that no composition covered since
  IntRect newlyDrawnRect_;     // the part of them the screen image has not shown yet
  std::map<SymbolNumber, Value> movieHandlers_;  // handler symbol -> script member
  std::vector<FrameLabel> labels_;               // in the order added (frame order)
  int32_t currentFrame_ = 0;
  uint32_t framesStepped_ = 0;
  Value actorList_;
  Value timeOutList_;
  int32_t lastFrameTime_ = 0;
  int32_t lastIdleTime_ = 0;
  int32_t lastRolloverTime_ = 0;
  int32_t timerBase_ = 0;
  int32_t rolloverSprite_ = 0;
  int32_t clickSprite_ = 0;
  bool mouseIsDown_ = false;
  IntPoint stylusPoint_;
  KeyReport lastKey_;
  bool stopped_ = false;
  int32_t lastKeyTicks_ = 0;
  int32_t lastMoveTicks_ = 0;
  int32_t lastClickTicks_ = 0;
  IntPoint clickLoc_;
  int32_t floatPrecision_ = kDefaultFloatPrecision;
  bool prepareMovieSent_ = false;
  bool startMovieSent_ = false;
  bool wentToFrame_ = false;
  bool navigationLocked_ = false;
  bool inFrameSetup_ = false;
  std::string itemDelimiter_ = ",";
  int32_t tickTime_ = 0;
  int32_t screenWidth_ = 0;
  int32_t screenHeight_ = 0;
  bool debugLogOpen_ = false;
  MediaCheck mediaCheck_ = MediaCheck::accepted;
  Value dummySprite_;  // what sprite(n) answers for channels outside the score
  RandomGenerator random_;
};

}  // namespace qn

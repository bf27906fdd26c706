// The object in a sprite channel while its span of the score plays: a cast member shown at a
// location with size, ink, blend, colours, rotation, skew and flips, plus the behaviours (script
// instances) attached to it. Member types that draw derive renderer classes from SpriteChannel
// (the member's `createSprite` makes them); the plain class serves channels whose member draws
// nothing or is missing, and the frame-script channel 0.
//
// Invariants: `changeFlags` collects what changed since the movie last acted on the sprite (bits
// below); `committedLocZ` is the locZ under which the sprite is filed in the movie's draw order
// and changes only in `update`; a set lock flag keeps the score's commands off that property
// until `puppet` is turned off.
#pragma once

#include <cstdint>
#include <utility>

#include "engine/event_mask.h"
#include "engine/sprite_span.h"
#include "script/method_table.h"
#include "script/quad.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

class CastMember;
class Movie;

// What changed in a sprite, for the movie to act on.
namespace change {
inline constexpr int32_t redraw = 1;      // appearance or geometry
inline constexpr int32_t member = 2;      // castLibNum or memberNum
inline constexpr int32_t locZ = 4;        // refile in the draw order
inline constexpr int32_t everything = 255;
}  // namespace change

// The properties the score can set, in lock-flag order; also the order of the score opcodes
// without the wait (opcode 11).
enum class Lock : uint8_t {
  locH, locV, stretch, ink, width, height, blendLevel, color, bgColor, castLibNum, memberNum,
  rotation, skew, flipH, flipV, lineSize
};

struct LockFlags {
  uint16_t bits = 0;
  bool has(Lock lock) const { return (bits >> static_cast<unsigned>(lock)) & 1u; }
  void set(Lock lock) { bits = static_cast<uint16_t>(bits | (1u << static_cast<unsigned>(lock))); }
};

// The sprite record: every field a sprite carries. Kept apart from the class so that replacing a
// sprite's renderer copies the whole record at once.
struct SpriteRecord {
  Movie* movie = nullptr;  // the owner, not counted
  int32_t locH = 0;        // stage position of the member's regPoint
  int32_t locV = 0;
  int32_t width = 0;  // stretched size, used while `stretch` is on
  int32_t height = 0;
  int32_t ink = 0;
  int32_t castLibNum = 1;
  int32_t memberNum = 0;
  int32_t blendLevel = 255;
  uint32_t color = 0;  // 0xRRGGBB
  uint32_t bgColor = 0xFFFFFF;
  float rotation = 0.0f;  // degrees
  float skew = 0.0f;
  int32_t lineSize = 0;
  bool stretch = false;
  bool flipH = false;
  bool flipV = false;
  int32_t committedLocZ = 0;
  int32_t locZ = 0;
  IntRect spriteRect;  // bounding box on the stage, kept by `update`
  IntRect shownRect;   // where its pixels may lie on the stage: its rect when last invalidated, if it showed
  Quad quad;
  CastMember* member = nullptr;  // found by the last `update`; not counted (the cast holds it)
  int32_t naturalWidth = 0;      // the member's own size, set by the renderer's `update`
  int32_t naturalHeight = 0;
  bool puppet = false;
  LockFlags lockFlags;
  bool forceApply = false;        // re-apply the score from the start at the current frame
  bool quadMode = false;          // draw, hit and compare through `quad`
  bool quadMovesWithLoc = false;  // location changes move `quad` along
  int32_t changeFlags = change::everything;
  EventMask eventMask = 0;  // events some behaviour handles; only grows
  Value scriptInstanceList;
  SpanRef span;
  int32_t commandIndex = 0;  // next command word pair
  int32_t lastAppliedFrame = 0;
  int32_t cursorFrame = 0;  // the frame up to which commands have been read
};

class SpriteChannel : public ScriptObject, public SpriteRecord {
 public:
  // A new sprite for a span: defaults, locZ = channel, behaviours from the movie's factory.
  SpriteChannel(Movie& owner, SpanRef playedSpan);

  int32_t channel() const { return span->channel; }
  int32_t startFrame() const { return span->startFrame; }
  int32_t endFrame() const { return span->endFrame; }
  bool plays(int32_t frame) const { return puppet || span->covers(frame); }
  // The key of the member the sprite names (which `update` looks up).
  int32_t memberKeyNamed() const;
  // The quad the sprite is compared through: `quad` in quad mode, else its rect's corners.
  Quad effectiveQuad() const { return quadMode ? quad : Quad::fromRect(spriteRect); }

  // Attaches the behaviours the movie's factory makes for the span (an empty list for none).
  // New sprites get them once; a sprite replacing another takes over the old one's instead.
  void attachBehaviours();
  // Runs the score's commands up to `frame` (rewinding first when the playhead went back or a
  // re-apply is pending) and answers the pending change bits.
  int32_t applyCommands(int32_t frame);
  // Takes over the whole record of the sprite this one replaces; the old one keeps no behaviours.
  void takeOver(SpriteChannel& old);
  // Makes the event mask the union of the behaviours' masks (0 when the list is not a list).
  void recomputeEventMask();

  // For compiled code: a property as a Value, a method with any arguments.
  Value property(SymbolNumber name) {
    Value result;
    getProperty(result, name);
    return result;
  }
  template <class... Args>
  Value call(SymbolNumber method, Args&&... args) {
    return Value::share(this).call(method, std::forward<Args>(args)...);
  }

  bool intersects(const SpriteChannel& other) const;
  bool within(const SpriteChannel& other) const;

  // ScriptObject
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  // The sprite's own methods; `handle` passes any other to the behaviours.
  static const MethodTable<SpriteChannel, bool>& methods();
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

  // Sprite slots; renderers override the first five.
  virtual bool hitTest(int32_t x, int32_t y);  // 14
  // 15: when something changed (or forced): finds the member, clears `changeFlags`, commits
  // `locZ` and recomputes the geometry (slot 17). Renderers load their member around it.
  virtual bool update(bool force);
  // 16: paints into the stage image (scale 1) or into the stage composed `scale` times as large,
  // the sprite's geometry scaled with it.
  virtual void draw(ScriptObject& target, int32_t scale);
  virtual void computeGeometry();               // 17: sets spriteRect (the plain sprite: empty)
  virtual void releaseScripts();                // 18: behaviours become 0, member null
  // 19: the fast path for integer writes; only marks change bits (the next frame acts on them).
  // False for properties it does not take as integers.
  virtual bool setIntProperty(SymbolNumber property, int32_t value);
  // Whether drawing the sprite leaves the stage as it was whatever lies below (a bitmap at blend 0).
  virtual bool drawsNothing() const { return false; }
  // Whether drawing the sprite writes every pixel of `area` (a stage rect) whatever lay below:
  // then nothing below it needs drawing there. The plain sprite draws nothing.
  virtual bool opaqueOver(const IntRect& /*area*/) const { return false; }
  // When the rects of two bitmap sprites meet and `matteSprite` uses the matte ink, the bitmap
  // renderer answers whether their pixels meet; others keep the rect answer.
  virtual bool pixelsMeet(const SpriteChannel& /*matteSprite*/) const { return true; }

 private:
  template <class T>
  void setLocked(Lock lock, T& field, T value, int32_t bits);
  void moveTo(int32_t h, int32_t v);
  void writeRect(IntRect rect);
  void setMemberFrom(const Value& value);
  bool setValueProperty(SymbolNumber property, const Value& value);
  void readBuiltin(Value& result, SymbolNumber property);
  bool sendToBehaviours(SymbolNumber handler, const Value& first, bool meIsInstance, int argc,
                        Value* const* argv, Value& result);
  bool rewind();
};

// The sprite a value holds (a sprite channel or a sprite reference resolved now), or null.
SpriteChannel* spriteOf(const Value& value);

}  // namespace qn

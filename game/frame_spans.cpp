#include "game/frame_spans.h"

#include <vector>

#include "engine/movie.h"
#include "game/stage_places.h"
#include "gfx/ink.h"

namespace qn::game {
namespace {

// Score command opcodes.
enum Opcode : int32_t { locH = 0, locV = 1, stretch = 2, ink = 3, width = 4, height = 5, blendLevel = 6,
                        castLibNum = 9, memberNum = 10 };
constexpr int32_t kUnset = INT32_MIN;
constexpr int32_t kMatte = ink::matte, kBackgroundTransparent = ink::backgroundTransparent;
constexpr int32_t kOffStage = offStage::freeH;  // the rules find free pool channels by it
constexpr int32_t kCentreH = 120, kCentreV = 160;
// The turn text's field ("gameTxt") is 220 wide where the cast table has 184, so that a single
// person's "Player Three's distance: 123.4567" fits its one line; it keeps the table's centre
// (29 + 184 / 2), so every text is drawn where the table's field would draw it.
constexpr int32_t kTurnTextH = 11;

// One row of the score table: channels first..last showing consecutive members from `member`
// (or all the same member when memberStep is 0), stepping locV by `rowStep` per channel.
struct ChannelRow {
  int32_t first, last;
  int32_t castLib, member, memberStep;
  int32_t h, v, rowStep;
  int32_t width = kUnset, height = kUnset;  // set: the sprite is stretched to this size
  int32_t inkNumber = kUnset;
  int32_t blend = kUnset;  // blendLevel, 0 to 255
};

// Rows not in the table keep their defaults. Where the table leaves an ink open, text fields on
// the top view and on the full-screen pictures, the markers, the worm and the pool sprites use the
// inks that drop their backgrounds, so that they sit on the picture without a box.
constexpr ChannelRow kRows[] = {
    {0, 0, 2, 3, 0, kUnset, kUnset, 0},                                    // the frame loop
    {1, 1, 1, 13, 0, kCentreH, kCentreV, 0},                               // playing field
    {5, 5, 1, 23, 0, 121, 78, 0, kUnset, kUnset, kMatte},                  // mini-map
    {8, 10, 1, 41, 0, kOffStage, 240, 0, 32, 32},                          // mini-map icons, blue
    {11, 13, 1, 42, 0, kOffStage, 240, 0, 32, 32},                         // red
    {14, 16, 1, 43, 0, kOffStage, 240, 0, 32, 32},                         // yellow
    {17, 19, 1, 44, 0, kOffStage, 240, 0, 32, 32},                         // green
    {22, 22, 1, 13, 0, kCentreH, kCentreV, 0},                             // field / top view
    {24, 24, 1, 39, 0, 368, 189, 0, kUnset, kUnset, kMatte, 0},            // computer's sight line
    {25, 25, 1, 22, 0, 217, 502, 0, kUnset, kUnset, kMatte},               // aiming arrow
    {34, 34, 1, 29, 0, 68, 378, 0, kUnset, kUnset, kMatte},                // walk left
    {35, 35, 1, 27, 0, 172, 378, 0, kUnset, kUnset, kMatte},               // walk right
    {36, 36, 1, 30, 0, 120, 378, 0, kUnset, kUnset, kMatte},               // power
    {40, 40, 1, 8, 0, 120, 378, 0, kUnset, kUnset, kUnset, 0},             // glow of power
    {41, 41, 1, 9, 0, 68, 378, 0, kUnset, kUnset, kUnset, 0},              // glow of walk left
    {42, 42, 1, 9, 0, 172, 378, 0, kUnset, kUnset, kUnset, 0},             // glow of walk right
    {50, 100, 1, 41, 0, kOffStage, 0, 0, 58, 58, kMatte},                  // ball pool
    {109, 109, 1, 46, 0, 120, 132, 0, kUnset, kUnset, kBackgroundTransparent, 0},  // banner
    {110, 110, 1, 51, 0, kTurnTextH, 138, 0, kUnset, kUnset, kBackgroundTransparent, 0},  // turn text
    {120, 129, 1, 183, 0, kOffStage, 0, 0, kUnset, kUnset, kUnset, 230},   // mud splashes
    {181, 181, 1, 59, 0, 120, 239, 0, kUnset, kUnset, kUnset, 0},          // back to the menu
    {183, 183, 1, 126, 0, kOffStage, 278, 0},                              // top-view button
    {191, 191, 1, 212, 0, 22, 18, 0, kUnset, kUnset, kBackgroundTransparent},     // today's best
    {199, 199, 1, 11, 0, 101, 146, 0, kUnset, kUnset, kMatte, 230},        // power meter
    {200, 200, 1, 57, 0, 26, 147, 0, 0, 10},                               // power bars
    {201, 201, 1, 58, 0, 26, 147, 0, 0, 10},
    {204, 207, 1, 227, 1, 307, 184, 20, kUnset, kUnset, kBackgroundTransparent},  // result names
    {212, 215, 1, 219, 1, 400, 184, 20, kUnset, kUnset, kBackgroundTransparent},  // distances
    {225, 225, 1, 17, 0, 77, 133, 0, 89, 35, kUnset, 0},                   // start hot spot
    {238, 238, 1, 15, 0, kCentreH, kCentreV, 0},                           // menu picture
    {239, 239, 1, 3, 0, kOffStage, kCentreV, 0},                           // help page
    {240, 270, 1, 41, 0, kOffStage, 0, 0},                                 // second pool
    {280, 280, 1, 131, 0, offStage::floorRingH, 237, 0},                                   // floor ring
    {285, 310, 1, 24, 0, kOffStage, 0, 0},                                 // dust clouds
    {311, 399, 1, 25, 0, kOffStage, 0, 0},                                 // stars
    {400, 400, 1, 14, 0, 0, 0, 0, 240, 320, kUnset, 194},                  // set-up shade
    {401, 401, 1, 52, 0, kCentreH, kCentreV, 0},                           // set-up picture
    {402, 402, 1, 53, 0, 76, 273, 0, 88, 37, kUnset, 0},                   // "done" hot spot
    {404, 407, 1, 215, 1, 65, 82, 46, kUnset, kUnset, kBackgroundTransparent},    // player names
    {408, 408, 1, 203, 0, 193, 82, 0},                                     // player kinds
    {409, 409, 1, 204, 0, 193, 128, 0},
    {410, 411, 1, 205, 0, 193, 174, 46},
    {413, 416, 1, 231, 1, -13, 82, 46, kUnset, kUnset, kBackgroundTransparent},   // games won
    {480, 480, 1, 165, 0, offStage::fadedH, 89, 0, 37, 8, kMatte},         // the worm
    {490, 490, 1, 31, 0, kOffStage, 0, 0, kUnset, kUnset, kMatte},         // leader marker
    {496, 496, 1, 60, 0, 76, 180, 0, 89, 38, kUnset, 0},                   // help hot spot
    {498, 498, 1, 37, 0, 0, 0, 0, 0, 0},
    {499, 499, 1, 17, 0, 0, 0, 0, 0, 0},
    {500, 500, 1, 91, 0, 187, 20, 0, kUnset, kUnset, kBackgroundTransparent},     // version text
};

struct Behaviour {
  int32_t first, last, member;
};
constexpr Behaviour kBehaviours[] = {
    {0, 0, 3},       // frame loop
    {22, 22, 25},    // closemap
    {36, 36, 7},     // clickPow
    {181, 181, 12},  // gomenu
    {183, 183, 24},  // showmap
    {225, 225, 4},   // startgame
    {239, 239, 15},  // goscores
    {402, 402, 8},   // setupDone
    {408, 411, 9},   // changeStatus
    {480, 480, 17},  // the worm laughs
    {496, 496, 16},  // gohelp
};

std::vector<int32_t> commandsFor(const ChannelRow& row, int32_t index) {
  std::vector<int32_t> words = {castLibNum, row.castLib, memberNum, row.member + row.memberStep * index};
  auto put = [&](int32_t opcode, int32_t value) {
    if (value == kUnset) return;
    words.push_back(opcode);
    words.push_back(value);
  };
  put(locH, row.h);
  put(locV, row.v == kUnset ? kUnset : row.v + row.rowStep * index);
  if (row.width != kUnset) put(stretch, 1);
  put(width, row.width);
  put(height, row.height);
  put(ink, row.inkNumber);
  put(blendLevel, row.blend);
  return words;
}

struct Score {
  std::vector<std::vector<int32_t>> commands;
  std::vector<FrameSpan> spans;
};

const Score& score() {
  static const Score built = [] {
    Score made;
    for (const ChannelRow& row : kRows)
      for (int32_t channel = row.first; channel <= row.last; ++channel)
        made.commands.push_back(commandsFor(row, channel - row.first));
    size_t next = 0;
    for (const ChannelRow& row : kRows)
      for (int32_t channel = row.first; channel <= row.last; ++channel)
        made.spans.push_back(FrameSpan{channel, made.commands[next++]});
    return made;
  }();
  return built;
}

}  // namespace

std::span<const FrameSpan> frameSpans() { return score().spans; }

void addFrameSpans(Movie& movie) {
  int32_t spanId = 0;
  for (const FrameSpan& span : frameSpans()) movie.addSpan(++spanId, kGameFrame, kGameFrame, span.channel, span.commands);
}

int32_t behaviourOf(int32_t channel) {
  for (const Behaviour& behaviour : kBehaviours)
    if (behaviour.first <= channel && channel <= behaviour.last) return behaviour.member;
  return 0;
}

}  // namespace qn::game

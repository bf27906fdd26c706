// The score of the game's one frame, labelled "game": for every channel that starts with content,
// the member it shows and how (position, stretch, ink, blend), as the score's command stream,
// and the behaviour script each clickable channel carries.
#pragma once

#include <cstdint>
#include <span>

namespace qn {
class Movie;
}

namespace qn::game {

inline constexpr int32_t kGameFrame = 1;
inline constexpr const char* kGameLabel = "game";

struct FrameSpan {
  int32_t channel;
  std::span<const int32_t> commands;  // (opcode, value) pairs, castLibNum and memberNum first
};

// The spans in channel order; span n of the movie is entry n - 1.
std::span<const FrameSpan> frameSpans();
// Adds every span to the movie, numbered from 1, each covering the game frame only.
void addFrameSpans(Movie& movie);
// The behaviour a channel carries: its member number in castLib 2, or 0 for none.
int32_t behaviourOf(int32_t channel);

}  // namespace qn::game

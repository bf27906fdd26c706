// One sprite's life in the score: a channel over an inclusive frame range, driven by a stream of
// (opcode, value) command words. Immutable once the definition has added it; shared by the score
// and by the sprite that plays it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace qn {

struct SpriteSpan {
  int32_t spanId = 0;  // handed to the behaviour factory
  int32_t startFrame = 0;
  int32_t endFrame = 0;
  int32_t channel = 0;
  // Word pairs; the compiled definition's static data, never owned. Every score span starts with
  // the castLibNum and memberNum commands.
  std::span<const int32_t> commands;

  int32_t commandCount() const { return static_cast<int32_t>(commands.size()); }
  bool covers(int32_t frame) const { return startFrame <= frame && frame <= endFrame; }
};

using SpanRef = std::shared_ptr<const SpriteSpan>;

}  // namespace qn

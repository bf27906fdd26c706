// A display for running the game in tests: a settable clock, a 240 x 320 screen of a chosen
// format that refuses to be drawn on, and a count of close requests.
#pragma once

#include "engine/display_host.h"

namespace qn::game {

class StandInDisplay : public DisplayHost {
 public:
  int32_t now() override { return clock; }
  int32_t displayFormat() const override { return format; }
  int32_t screenWidth() const override { return 240; }
  int32_t screenHeight() const override { return 320; }
  void repaint(const IntRect&) override {}
  bool beginDraw(FrameBuffer&) override { return false; }
  void endDraw() override {}
  void postCloseRequest() override { ++closeRequests; }
  void openDebugLog() override {}
  void closeDebugLog() override {}
  void writeDebugLog(std::string_view) override {}
  int32_t clock = 1000;
  int32_t format = kDisplay565;
  int closeRequests = 0;
};

}  // namespace qn::game

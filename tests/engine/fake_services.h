// Fakes of the subsystems a movie works through: a settable clock and screen, a stage-image
// service that records what it is asked, media that always binds, a mixer that remembers stops.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/movie_services.h"

namespace qn::testing {

class FakeDisplay : public DisplayHost {
 public:
  int32_t now() override { return clock; }
  int32_t displayFormat() const override { return format; }
  int32_t screenWidth() const override { return 240; }
  int32_t screenHeight() const override { return 320; }
  void showStage(const StageView& view, const IntRect& windowRect) override {
    shownRects.push_back(windowRect);
    shownScales.push_back(view.scale);
  }
  void openDebugLog() override { logOpen = true; }
  void closeDebugLog() override { logOpen = false; }
  void writeDebugLog(std::string_view text) override { log += text; }
  bool keyPressed(int32_t code, int32_t) const override { return keysDown.count(code) > 0; }

  int32_t clock = 1000;
  int32_t format = kDisplay565;
  std::vector<IntRect> shownRects;
  std::vector<int32_t> shownScales;
  bool logOpen = false;
  std::string log;
  std::set<int32_t> keysDown;  // movie key codes held
};

// The stage image is an integer standing in for the buffer; calls are recorded as text.
class RecordingStageImages : public StageImageService {
 public:
  Value createStageImage(int32_t width, int32_t height, int32_t depth) override {
    calls.push_back("create " + std::to_string(width) + "x" + std::to_string(height) + " " + std::to_string(depth));
    return Value(int32_t{7});
  }
  void setClip(const Value&, const IntRect& clip) override { calls.push_back("clip " + text(clip)); }
  void fill(const Value&, const IntRect& area, uint32_t rgb) override {
    calls.push_back("fill " + text(area) + " " + std::to_string(rgb));
  }
  void enlarge(const Value&, const Value&, const IntRect& area, int32_t scale) override {
    calls.push_back("enlarge " + text(area) + " " + std::to_string(scale));
  }
  Value imageObject(const Value& stageImage) override { return stageImage; }

  static std::string text(const IntRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }
  std::vector<std::string> calls;
};

class FakeMedia : public MediaService {
 public:
  MediaCheck open(std::string_view name, int64_t) override {
    openedName = name;
    return check;
  }
  void close() override { closed = true; }
  MediaCheck check = MediaCheck::accepted;
  std::string openedName;
  bool closed = false;
};

class FakeSound : public SoundService {
 public:
  void stop(int32_t channel) override { stopped.push_back(channel); }
  bool isBusy(int32_t channel) const override { return channel == busyChannel; }
  std::vector<int32_t> stopped;
  int32_t busyChannel = 0;
};

}  // namespace qn::testing

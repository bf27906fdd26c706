#include "test_movie.h"

#include "engine/script_instance.h"
#include "script/list_object.h"

namespace qn::test {

namespace {

// Paints a 6 x 6 square from the stage point under the stylus while it is down, in red plus the last key code in the blue byte.
class StylusPainter final : public ScriptInstance {
 public:
  explicit StylusPainter(TestMovie& movie, StageImageService& images)
      : ScriptInstance(EventMask{}), movie_(movie), images_(images) {}
  bool handle(SymbolNumber method, int, Value& result, Value* const*, bool) override {
    if (method != sym::stepFrame) return false;
    ++movie_.framesStepped;
    if (movie_.mouseIsDown()) {
      const IntPoint at = movie_.mouseLoc();  // on the stage, turned by its orientation
      IntRect square{at.x, at.y, at.x + 6, at.y + 6};
      images_.setClip(movie_.stageImage(), square);
      images_.fill(movie_.stageImage(), square, 0xFF0000u | movie_.lastKey().code);
      movie_.addPresentRect(square);
    }
    result = Value();
    return true;
  }

 private:
  TestMovie& movie_;
  StageImageService& images_;
};

}  // namespace

struct TestMovie::Services {
  explicit Services(SoundMixer& mixer) : sound(mixer) {}
  StageImages images;
  testing::FakeCast cast;
  testing::FakeMedia media;
  SoundMixer& sound;
};

Value TestMovie::make(DisplayHost& display, SoundMixer& mixer, const TestMovieSettings& settings) {
  return Value::adopt(new TestMovie(display, std::make_unique<Services>(mixer), settings));
}

TestMovie::TestMovie(DisplayHost& display, std::unique_ptr<Services> services, const TestMovieSettings& settings)
    : Movie(MovieServices{display, services->images, services->cast, services->media,
                          services->sound}),
      own_(std::move(services)),
      settings_(settings) {}

TestMovie::~TestMovie() = default;

bool TestMovie::defineMovie() {
  stageWidth_ = settings_.orientation == 0 ? 240 : 320;
  stageHeight_ = settings_.orientation == 0 ? 320 : 240;
  tempo_ = 30;
  lastFrame_ = 1;
  stageColor_ = settings_.stageColor;
  exitLock_ = settings_.exitLock;
  orientation_ = settings_.orientation;
  colorDepth_ = settings_.colorDepth;
  Movie::defineMovie();
  setProperty(sym::actorList, makeList({Value::adopt(new StylusPainter(*this, own_->images))}));
  return true;
}

bool TestMovie::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  if (method == sym::activateApplication) ++activations;
  if (method == sym::deactiveApplication) ++deactivations;
  return Movie::handle(method, argc, result, argv, flag);
}

}  // namespace qn::test

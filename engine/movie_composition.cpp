// Composition and presenting: once a frame has been entered, the dirty rect of the stage is
// composed into the stage image and, at a presentation scale above 1, into the screen image at
// that scale; then the display host is told which window rect changed.
//
// The screen image follows the stage image rect for rect: the same dirty rect composed at the
// scale (every sprite's geometry times k, inks and blends per pixel as at 1x), and the pixels
// scripts drew into the stage image enlarged, since scripts draw at the stage's own size. A new
// scale, and new finer pictures in the cast, compose it whole. The 1x composition is cheap beside
// the k x one (1/k^2 of the pixels) and keeps the stage image exactly what it is at scale 1.
#include <algorithm>
#include <iterator>

#include "engine/movie.h"

namespace qn {

void Movie::setPresentationScale(int32_t scale) {
  scale = std::clamp(scale, 1, kLargestPresentationScale);
  if (scale == presentationScale_) return;
  presentationScale_ = scale;
  screenImage_ = Value();      // composed whole at the next frame
  presentRect_ = stageRect_;  // and shown whole, at scale 1 too
}

void Movie::addPresentRect(const IntRect& rect) {
  presentRect_ = boundingUnion(presentRect_, rect);
  scriptDrawnRect_ = boundingUnion(scriptDrawnRect_, rect);
  newlyDrawnRect_ = boundingUnion(newlyDrawnRect_, rect);
}

void Movie::composeInto(const Value& image, const IntRect& area, int32_t scale) {
  if (image.isVoid()) return;
  StageImageService& images = services_.stageImages;
  const IntRect drawn = scaledRect(area, scale);
  images.setClip(image, drawn);
  // What lies below a sprite that covers the whole area opaquely would only be drawn over: the
  // drawing starts with it (the same pixels, without the stage colour and the sprites below).
  const auto covering = std::find_if(drawOrder_.rbegin(), drawOrder_.rend(), [&](const SpriteChannel* sprite) {
    return channelVisible(sprite->channel()) && sprite->opaqueOver(area);
  });
  if (covering == drawOrder_.rend()) images.fill(image, drawn, stageColor_);
  const auto first = covering == drawOrder_.rend() ? drawOrder_.begin() : std::prev(covering.base());
  for (auto sprite = first; sprite != drawOrder_.end(); ++sprite)
    if (channelVisible((*sprite)->channel()) && rectsIntersect((*sprite)->spriteRect, area))
      (*sprite)->draw(*image.object(), scale);
  // Scripts draw into the stage image between frames: left clipped to this dirty rect, their
  // drawing elsewhere would be lost.
  images.setClip(image, scaledRect(stageRect_, scale));
}

Value Movie::composeStageAt(int32_t scale) {
  Value image = services_.stageImages.createStageImage(stageWidth_ * scale, stageHeight_ * scale, colorDepth_);
  if (image.isVoid()) return image;
  composeInto(image, stageRect_, scale);
  if (!isEmptyRect(scriptDrawnRect_)) services_.stageImages.enlarge(stageImage_, image, scriptDrawnRect_, scale);
  return image;
}

IntRect Movie::composeScreen(const IntRect& dirty) {
  if (services_.cast.pictureGeneration() != screenPictures_) screenImage_ = Value();
  if (screenImage_.isVoid()) {
    screenImage_ = composeStageAt(presentationScale_);
    screenPictures_ = services_.cast.pictureGeneration();  // a set found while composing is in it
    newlyDrawnRect_ = IntRect{};
    return screenImage_.isVoid() ? IntRect{} : stageRect_;
  }
  // Enlarged first: where the dirty rect covers them, the composition below wins as it did at 1x.
  if (!isEmptyRect(newlyDrawnRect_))
    services_.stageImages.enlarge(stageImage_, screenImage_, newlyDrawnRect_, presentationScale_);
  newlyDrawnRect_ = IntRect{};
  composeInto(screenImage_, dirty, presentationScale_);
  return IntRect{};
}

void Movie::composeAndPresent() {
  services_.display.compositionBegins();
  dirtyRect_ = clippedRect(dirtyRect_, stageRect_);
  IntRect shown = presentRect_;
  if (!isEmptyRect(dirtyRect_)) {
    composeInto(stageImage_, dirtyRect_, 1);
    if (rectCovers(dirtyRect_, scriptDrawnRect_)) scriptDrawnRect_ = IntRect{};
    shown = boundingUnion(dirtyRect_, presentRect_);
  }
  if (presentationScale_ > 1 && !stageImage_.isVoid()) shown = boundingUnion(shown, composeScreen(dirtyRect_));
  if (!isEmptyRect(shown) && !stageImage_.isVoid()) {
    const int32_t scale = screenImage_.isVoid() ? 1 : presentationScale_;
    services_.display.showStage(StageView{stageImage_, screenImage_, scale, orientation_}, toWindow(shown));
  }
  dirtyRect_ = presentRect_ = IntRect{};
}

IntRect Movie::toWindow(const IntRect& stage) const {
  switch (orientation_) {
    case 90: return {stage.top, screenHeight_ - stage.right, stage.bottom, screenHeight_ - stage.left};
    case -90: return {screenWidth_ - stage.bottom, stage.left, screenWidth_ - stage.top, stage.right};
    default: return stage;
  }
}

}  // namespace qn

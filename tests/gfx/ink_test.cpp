// The ink formulas and the rules that change the requested ink, one pixel at a time.
#include <gtest/gtest.h>

#include "gfx/draw_image.h"
#include "gfx/pixel_format.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

using test::TestImage;

// Draws a 1 x 1 source pixel over a 1 x 1 destination pixel and returns the destination's raw value.
uint32_t drawOne(int32_t destinationDepth, uint32_t destinationRaw, int32_t sourceDepth, uint32_t sourceRaw,
                 BlitParams params, int32_t sourceAlpha = 0) {
  TestImage destination(1, 1, destinationDepth);
  TestImage source(1, 1, sourceDepth, sourceAlpha);
  destination.set(0, 0, destinationRaw);
  source.set(0, 0, sourceRaw);
  params.destinationRect = {0, 0, 1, 1};
  params.sourceRect = {0, 0, 1, 1};
  drawImage(*destination, source.get(), params);
  return destination.at(0, 0);
}

BlitParams withInk(int32_t inkNumber, int32_t blend = 255) {
  BlitParams params;
  params.ink = inkNumber;
  params.blend = blend;
  return params;
}

TEST(Ink, ConversionsReplicateBitsAndTruncate) {
  EXPECT_EQ(widen555(0x7FFF), 0xFFFFFFFFu);
  EXPECT_EQ(widen565(0x07E0), 0xFF00FF00u);
  EXPECT_EQ(widen565(0x8410), 0xFF848284u);  // 10000 100000 10000
  EXPECT_EQ(narrow565(0xFF848284u), 0x8410);
  EXPECT_EQ(narrow555(0xFFFFFFFFu), 0x7FFF);  // bit 15 stays clear
  EXPECT_EQ(narrow565(0xFF070307u), 0x0000);  // truncation, not rounding
}

TEST(Ink, BlendIsNotAnExactCopyAtFullLevel) {
  EXPECT_EQ(drawOne(32, 0xFF000000, 32, 0xFFFFFFFF, withInk(ink::blend)) & 0xFFFFFF, 0xFEFEFEu);
}

TEST(Ink, PartialBlendTurnsOtherInksIntoBlend) {
  // add at 128 would give 0xC8 + 0x64 wrapped; a blend gives d + (s - d) * 128 >> 8.
  EXPECT_EQ(drawOne(32, 0xFF646464, 32, 0xFFC8C8C8, withInk(ink::add, 128)) & 0xFFFFFF, 0x969696u);
  EXPECT_EQ(drawOne(32, 0xFF646464, 32, 0xFFC8C8C8, withInk(ink::darkest, 128)) & 0xFFFFFF, 0x969696u);
  // Negative differences round towards minus infinity.
  EXPECT_EQ(drawOne(32, 0xFF000001, 32, 0xFF000000, withInk(ink::blend, 128)) & 0xFF, 0u);
}

TEST(Ink, BackgroundTransparentKeepsBackgroundPixelsAtPartialBlend) {
  EXPECT_EQ(drawOne(32, 0xFF808080, 32, 0xFFFFFFFF, withInk(ink::backgroundTransparent, 128)), 0xFF808080u);
  EXPECT_EQ(drawOne(32, 0xFF000000, 32, 0xFFFF0000, withInk(ink::backgroundTransparent, 128)) & 0xFFFFFF, 0x7F0000u);
  EXPECT_EQ(drawOne(32, 0xFF123456, 32, 0xFFFF0000, withInk(ink::backgroundTransparent)), 0xFFFF0000u);
  // The comparison is exact in the working colour: a 5-6-5 white source over a 5-6-5 stage.
  EXPECT_EQ(drawOne(-16, 0x1234, -16, 0xFFFF, withInk(ink::backgroundTransparent)), 0x1234u);
  EXPECT_EQ(drawOne(-16, 0x1234, -16, 0xFFDF, withInk(ink::backgroundTransparent)), 0xFFDFu);
}

TEST(Ink, CopyWithColoursRemapsBlackAndWhite) {
  BlitParams params = withInk(ink::copy);
  params.foreColour = 0xFF0000;
  EXPECT_EQ(drawOne(32, 0, 32, 0xFF000000, params) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(drawOne(32, 0, 32, 0xFFFFFFFF, params) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(drawOne(-16, 0, 32, 0xFF000000, params), 0xF800u);
  // 8-bit destinations and alpha sources keep a plain copy.
  EXPECT_EQ(drawOne(32, 0, 32, 0x80000000, params, 1), 0x80000000u);
}

TEST(Ink, WordInksWorkOnTheWholeColour) {
  const uint32_t d = 0xFF0F0F0F, s = 0xFF3355AA;
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::transparent)), 0xFF03050Au);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::reverse)), 0xFFC3A55Au);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::ghost)), 0xFFCFAF5Fu);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::notCopy)), 0xFFCCAA55u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::notTrans)), 0xFF0C0A05u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::notReverse)), 0xFF3C5AA5u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::notGhost)), 0xFF3F5FAFu);
}

TEST(Ink, ChannelInks) {
  const uint32_t d = 0xFFF01080, s = 0xFF2030A0;
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::addPin)), 0xFFFF40FFu);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::add)), 0xFF104020u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::subPin)), 0xFFD00000u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::sub)), 0xFFD0E0E0u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::lightest)), 0xFFF030A0u);
  EXPECT_EQ(drawOne(32, d, 32, s, withInk(ink::darkest)), 0xFF201080u);
  BlitParams lighten = withInk(ink::lighten);
  lighten.foreColour = 0x000010;
  lighten.backColour = 0x8080FF;
  // red: min(255, 0 + 256 - 128 + (0x20 * 128 >> 8)) = 144; blue: 16 + 256 - 255 + (160 * 255 >> 8) = 176
  EXPECT_EQ(drawOne(32, d, 32, s, lighten), 0xFF9098B0u);
  BlitParams darken = lighten;
  darken.ink = ink::darken;
  EXPECT_EQ(drawOne(32, d, 32, s, darken), 0xFF1018AFu);
}

TEST(Ink, InternalInks) {
  // 51: fg where the source is 0, bg where it is 1; alpha 0.
  BlitParams remap = withInk(ink::colourRemap);
  remap.foreColour = 0x112233;
  remap.backColour = 0xFFFFFF;
  EXPECT_EQ(drawOne(32, 0, 32, 0xFF0000FF, remap), 0x001122FFu);
  // 50 with an 8-bit coverage source: 0 writes fg, 255 keeps d, between weighs fg.
  BlitParams coverage = withInk(ink::coverage);
  coverage.foreColour = 0xFF0000;
  EXPECT_EQ(drawOne(32, 0xFF0000FF, 8, 0, coverage), 0xFFFF0000u);
  EXPECT_EQ(drawOne(32, 0xFF0000FF, 8, 255, coverage), 0xFF0000FFu);
  EXPECT_EQ(drawOne(-16, 0x001F, 8, 128, coverage), narrow565(0xFF7E0080));
}

TEST(Ink, MaskImages) {
  TestImage destination(4, 1, 32);
  TestImage source(4, 1, 32);
  TestImage byteMask(4, 1, 8);
  destination.fillRaw(0xFF000000);
  source.fillRaw(0xFFFFFFFF);
  byteMask.set(0, 0, 0);
  byteMask.set(1, 0, 255);
  byteMask.set(2, 0, 128);
  byteMask.set(3, 0, 1);
  BlitParams params;
  params.destinationRect = params.sourceRect = {0, 0, 4, 1};
  params.ink = ink::matte;
  params.mask = byteMask.get();
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(destination.at(1, 0), 0xFF000000u);
  EXPECT_EQ(destination.at(2, 0) & 0xFFFFFF, 0x7E7E7Eu);  // 255 * 127 >> 8
  EXPECT_EQ(destination.at(3, 0) & 0xFF, 253u);

  // ink 53 copies where the mask is at most the low byte of bg.
  destination.fillRaw(0xFF000000);
  params.ink = ink::maskThreshold;
  params.backColour = 0x000080;
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(destination.at(1, 0), 0xFF000000u);
  EXPECT_EQ(destination.at(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(destination.at(3, 0), 0xFFFFFFFFu);

  // ink 52 takes alpha from the mask; into 32 bits the mask rule is skipped.
  destination.fillRaw(0);
  params.ink = ink::alphaFromMask;
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(destination.at(1, 0), 0x00FFFFFFu);
  EXPECT_EQ(destination.at(2, 0), 0x7FFFFFFFu);

  // Matte without a mask draws as copy; a mask flagged as having no border counts as none.
  destination.fillRaw(0xFF000000);
  params.ink = ink::matte;
  params.backColour = 0xFFFFFF;
  byteMask->setNoBorder(true);
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(1, 0), 0xFFFFFFFFu);
}

TEST(Ink, SourceAlphaWeighsOverTheDestination) {
  EXPECT_EQ(drawOne(32, 0xFF000000, 32, 0x80FFFFFF, withInk(ink::copy), 1), 0x807F7F7Fu);
  EXPECT_EQ(drawOne(32, 0xFF123456, 32, 0x00FFFFFF, withInk(ink::copy), 1), 0xFF123456u);
  EXPECT_EQ(drawOne(-16, 0x0000, 32, 0xFFFFFFFF, withInk(ink::copy), 1), 0xFFFFu);
}

TEST(Ink, UnsupportedFormatsDrawNothing) {
  EXPECT_EQ(drawOne(24, 0x123456, 32, 0xFFFFFFFF, withInk(ink::matte)), 0xFFFFFFFFu);  // no mask: copy
  EXPECT_EQ(drawOne(4, 3, 32, 0xFFFFFFFF, withInk(ink::copy)), 3u);
  EXPECT_EQ(drawOne(32, 0xFF000000, 2, 1, withInk(ink::copy)), 0xFF000000u);
  EXPECT_EQ(drawOne(32, 0xFF000000, 32, 0xFFFFFFFF, withInk(ink::copy, 0)), 0xFF000000u);
}

}  // namespace
}  // namespace qn

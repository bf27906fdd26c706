// The table of every bitmap member the art generator draws: its number in castLib 1, its size,
// how it is finished (see canvas.h) and the function that draws it. Sizes are the cast's; the
// regPoints and inks that decide the finishes live in assets/cast.manifest and the score.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/artgen/canvas.h"

namespace qn::artgen {

enum class Finish { alpha, onWhite, opaque };

struct MemberArt {
  int number;
  int width, height;
  Finish finish;
  uint32_t fringe;  // the colour antialiased edges blend into for Finish::onWhite
  void (*draw)(Canvas& canvas, int number);
};

const std::vector<MemberArt>& memberArt();

// Stage positions of the menu's and set-up screen's hot spots and fields, as the score places them.
struct Box {
  double x, y, width, height;
};
constexpr Box kStartHotSpot{77, 133, 89, 35};   // channel 225
constexpr Box kHelpHotSpot{76, 180, 89, 38};    // channel 496
constexpr Box kQuitHotSpot{103, 228, 35, 22};   // channel 181 at (120, 239), regPoint (17, 11)
constexpr Box kDoneHotSpot{76, 273, 88, 37};    // channel 402
constexpr double kSetupRowY[4] = {82, 128, 174, 220};
constexpr double kThrowLineY = 133;
// Background of the text fields that sit on the set-up screen and the top view. It is exact in
// 5-6-5 (each channel survives the device's 16 bits), so the fields' backgroundTransparent ink
// finds it there too and draws only their letters.
constexpr uint32_t kFieldWell = 0x081021;

// Screens (screens.cpp), sprites of the field (sprites.cpp), controls and banners (controls.cpp).
void drawField(Canvas&, int);
void drawMenu(Canvas&, int);
void drawHelp(Canvas&, int);
void drawSetup(Canvas&, int);
void drawTopView(Canvas&, int);
void drawMiniMap(Canvas&, int);

void drawPlayerBall(Canvas&, int);
void drawTargetBall(Canvas&, int);
void drawShadow(Canvas&, int);
void drawCollisionEllipse(Canvas&, int);
void drawDustCloud(Canvas&, int);
void drawStar(Canvas&, int);
void drawWorm(Canvas&, int);
void drawMudSplash(Canvas&, int);
void drawFloorRing(Canvas&, int);
void drawLeaderMarker(Canvas&, int);
void drawAimingArrow(Canvas&, int);
void drawAimingLine(Canvas&, int);
void drawFaultLabel(Canvas&, int);

void drawPlayerBanner(Canvas&, int);
void drawResultBanner(Canvas&, int);
void drawButtonGlow(Canvas&, int);
void drawPowerMeter(Canvas&, int);
void drawPowerBar(Canvas&, int);
void drawAimButton(Canvas&, int);
void drawMenuButton(Canvas&, int);
void drawMapButton(Canvas&, int);
void drawPlayerKindButton(Canvas&, int);
void drawPixel(Canvas&, int);

}  // namespace qn::artgen

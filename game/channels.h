// Where the game's things live: the sprite channels of the score and the cast members the rules
// put into them. A rule names a channel or a member by what it shows, never by its number.
#pragma once

#include <cstdint>

namespace qn::game {

// The player slots of the set-up screen; a game has one player for each slot in play.
inline constexpr int32_t kPlayerSlots = 4;

// Channels first to last, both included.
struct ChannelRange {
  int32_t first, last;
  constexpr int32_t operator[](int32_t offset) const { return first + offset; }
  constexpr bool contains(int32_t channel) const { return first <= channel && channel <= last; }
};

namespace ch {
inline constexpr int32_t field = 1;
inline constexpr int32_t miniMap = 5;                    // the result screen's small map
inline constexpr ChannelRange miniMapIcons{8, 19};       // three a player slot, in slot order
inline constexpr int32_t miniMapIconsPerSlot = 3;
inline constexpr int32_t topView = 22;                   // the field, or the map in the top view
inline constexpr int32_t sightLine = 24;                 // the computer's invisible aiming line
inline constexpr int32_t aimingArrow = 25;
inline constexpr ChannelRange buttons{32, 37};           // the on-screen buttons, actions in pButton
inline constexpr ChannelRange turnButtons{32, 36};       // shown while a player aims
inline constexpr ChannelRange aimButtons{34, 36};        // walk left, walk right, power
inline constexpr ChannelRange walkButtons{34, 35};
inline constexpr int32_t powerButton = 36;
inline constexpr ChannelRange glows{40, 42};             // hint glows: power, walk left, walk right
inline constexpr int32_t powerGlow = 40;
inline constexpr ChannelRange walkGlows{41, 42};
inline constexpr ChannelRange ballPool{50, 100};         // balls, shadows and collision ellipses
inline constexpr int32_t banner = 109;
inline constexpr int32_t turnText = 110;
inline constexpr ChannelRange mudSplashes{120, 129};
inline constexpr int32_t turnMarkersBase = 160;          // + player index
inline constexpr ChannelRange turnMarkers{turnMarkersBase + 1, turnMarkersBase + 4};
inline constexpr int32_t resultBacksBase = 169;          // + player index
inline constexpr ChannelRange resultBacks{resultBacksBase + 1, resultBacksBase + 4};
inline constexpr int32_t playerCountShade = 180;         // its height follows the number of players
inline constexpr int32_t backToMenu = 181;
inline constexpr int32_t topViewButton = 183;
inline constexpr ChannelRange leaderLights{189, 190};
inline constexpr int32_t todaysBest = 191;
inline constexpr int32_t powerMeter = 199;
inline constexpr ChannelRange powerMeterAll{199, 201};
inline constexpr int32_t powerBarUp = 200;
inline constexpr int32_t powerBarDown = 201;
inline constexpr ChannelRange powerBars{200, 201};
inline constexpr int32_t resultNamesBase = 203;          // + player index
inline constexpr ChannelRange resultNames{resultNamesBase + 1, resultNamesBase + 4};
inline constexpr int32_t distancesBase = 211;            // + player index
inline constexpr ChannelRange distances{distancesBase + 1, distancesBase + 4};
inline constexpr ChannelRange resultList{resultNames.first, distances.last};
inline constexpr ChannelRange menuScreen{220, 239};
inline constexpr ChannelRange menuStartShown{220, 226};
inline constexpr ChannelRange menuRestored{227, 239};
inline constexpr ChannelRange menuWinsShown{226, 236};
inline constexpr int32_t menuShade = 224;
inline constexpr int32_t startHotSpot = 225;
inline constexpr int32_t leaderBannersBase = 230;        // + player index
inline constexpr ChannelRange leaderBanners{leaderBannersBase + 1, leaderBannersBase + 4};
inline constexpr ChannelRange menuLowered{231, 233};    // put just under the menu when it returns
inline constexpr int32_t menuPicture = 238;
inline constexpr int32_t helpPage = 239;
inline constexpr ChannelRange effectPool{240, 270};      // fault copies and the top view's balls
inline constexpr int32_t floorRing = 280;
inline constexpr ChannelRange dustClouds{285, 310};
inline constexpr ChannelRange stars{311, 399};
inline constexpr ChannelRange setupScreen{400, 450};
inline constexpr int32_t setupDone = 402;
inline constexpr ChannelRange slotKinds{408, 411};       // slot s is slotKinds[s - 1]
inline constexpr int32_t worm = 480;
inline constexpr int32_t leaderMarker = 490;
inline constexpr int32_t helpHotSpot = 496;
inline constexpr int32_t menuBalls = 497;
inline constexpr int32_t menuGlint = 498;
inline constexpr int32_t versionText = 500;
}  // namespace ch

// Stacking (locZ) of the layers above the field and its balls.
inline constexpr int32_t kAboveTheBalls = 1000;
inline constexpr int32_t kAboveTheField = 10000;
inline constexpr int32_t kAboveTheMenu = 300000;  // the menu lies at 200000 to 200005
inline constexpr int32_t kMenuLayer = 200000, kBelowTheMenu = 199999;
inline constexpr int32_t kOverTheMenu = 200006;                  // over the menu picture and the help page
inline constexpr int32_t kOverTheSetUp = kAboveTheMenu + 1000;   // over the set-up screen's channels

// The menu's stacking as startMovie sets it: some of its channels just above the menu layer, one
// just under it, the picture and the help page on top.
struct ChannelLayer {
  int32_t channel, locZ;
};
inline constexpr ChannelLayer kMenuStacking[] = {
    {228, kMenuLayer + 1},         {229, kMenuLayer + 2},         {230, kMenuLayer + 2},
    {234, kMenuLayer + 2},         {235, kMenuLayer + 3},         {237, kBelowTheMenu},
    {ch::menuPicture, kMenuLayer + 5}, {ch::helpPage, kMenuLayer + 5},
};

namespace member {
inline constexpr int32_t fieldPicture = 13, topViewMap = 16;
inline constexpr int32_t bannerNone = 46;
inline constexpr int32_t bannerBase = 3;         // + slot: the player banners 4 to 7
inline constexpr int32_t resultBannerBase = 143;  // + slot: the result banners 144 to 147
inline constexpr int32_t turnMarkerBase = 59;     // + slot
inline constexpr int32_t resultBackBase = 110;    // + slot
inline constexpr int32_t human = 203, computer = 204, notPlaying = 205;  // slot kinds
inline constexpr int32_t whiteBall = 20, whiteShadow = 21, smallEllipse = 49;
inline constexpr int32_t playerBallBase = 40;     // + slot: "ball blue" to "ball green"
inline constexpr int32_t ballShadow = 18, largeEllipse = 50;
inline constexpr int32_t fault = 10, cloud = 24, star = 25, splash = 183;
inline constexpr int32_t leaderMarkerBase = 30;   // + slot
inline constexpr int32_t floorRingBase = 130;     // + slot
inline constexpr int32_t wormFirst = 165;
}  // namespace member

// Field members by name: each player slot's name on the set-up screen and games won, each player
// index's distance line; [0] is slot or index 1.
namespace fields {
inline constexpr const char* slotNames[] = {"naam1", "naam2", "naam3", "naam4"};
inline constexpr const char* wins[] = {"win1", "win2", "win3", "win4"};
inline constexpr const char* distances[] = {"distance1", "distance2", "distance3", "distance4"};
}  // namespace fields

// Sound channels.
namespace sound {
inline constexpr int32_t jingles = 1, music = 2, landing = 3, buttons = 4, calls = 5, knocks = 6,
                         throwing = 7, footsteps = 8;
}  // namespace sound

// Key codes the rules read.
namespace key {
inline constexpr int32_t left = 123, right = 124, up = 126;
}  // namespace key

}  // namespace qn::game

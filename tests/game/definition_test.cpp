// The game's definition as data: the cast rows the pack step compiled in, the score of the game
// frame with its behaviours, the game's symbols and the script classes behind the script members.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "cast/cast_rows.h"
#include "engine/script_instance.h"
#include "game/button_behaviour.h"
#include "game/game_symbols.h"
#include "game/frame_spans.h"
#include "game/script_factory.h"
#include "script/symbol_table.h"

namespace qn::game {
namespace {

struct Geometry {
  int32_t width, height, regX, regY;
};

// The bitmaps of the cast with their sizes and regPoints; 1 x 1 members stretch from their corner.
const std::map<int32_t, Geometry> kBitmaps = {
    {3, {240, 320, 120, 160}},  {4, {184, 62, 92, 30}},    {5, {184, 62, 92, 30}},   {6, {184, 62, 92, 30}},
    {7, {184, 62, 92, 30}},     {8, {99, 77, 49, 38}},     {9, {99, 77, 49, 38}},    {10, {64, 31, 32, 15}},
    {11, {204, 39, 83, 26}},    {12, {1, 1, 0, 0}},        {13, {240, 320, 120, 160}}, {14, {1, 1, 0, 0}},
    {15, {240, 320, 120, 160}}, {16, {240, 320, 120, 160}}, {17, {1, 1, 0, 0}},      {18, {95, 93, 51, 44}},
    {20, {26, 27, 13, 21}},     {21, {51, 49, 27, 22}},    {22, {193, 40, -93, 20}}, {23, {134, 134, 67, 67}},
    {24, {45, 36, 22, 18}},     {25, {51, 51, 25, 25}},    {26, {51, 51, 25, 25}},   {27, {48, 29, 24, 14}},
    {29, {48, 29, 24, 14}},     {30, {49, 29, 24, 14}},    {31, {34, 27, 17, 90}},   {32, {34, 27, 17, 90}},
    {33, {34, 27, 17, 90}},     {34, {34, 27, 17, 90}},    {39, {361, 21, -62, 10}}, {41, {58, 58, 29, 45}},
    {42, {58, 58, 29, 45}},     {43, {58, 58, 29, 45}},    {44, {58, 58, 29, 45}},   {49, {25, 15, 12, 7}},
    {50, {54, 28, 27, 14}},     {52, {240, 320, 120, 160}}, {53, {1, 1, 0, 0}},      {57, {1, 10, 0, 5}},
    {58, {1, 10, 0, 5}},        {59, {35, 22, 17, 11}},    {60, {1, 1, 0, 0}},       {61, {1, 1, 0, 0}},
    {62, {1, 1, 0, 0}},         {63, {1, 1, 0, 0}},        {126, {49, 23, 19, 10}},  {131, {99, 70, 49, 35}},
    {132, {99, 70, 49, 35}},    {133, {99, 70, 49, 35}},   {134, {99, 70, 49, 35}},  {144, {216, 29, 108, 1}},
    {145, {216, 29, 108, 1}},   {146, {216, 29, 108, 1}},  {147, {216, 29, 108, 1}}, {166, {6, 8, 16, 8}},
    {167, {14, 7, 16, 7}},      {168, {20, 6, 15, 6}},     {169, {31, 10, 15, 10}},  {170, {40, 6, 20, 6}},
    {171, {37, 8, 17, 8}},      {172, {33, 10, 15, 10}},   {173, {30, 11, 15, 11}},  {174, {29, 14, 14, 14}},
    {175, {30, 11, 15, 11}},    {176, {33, 10, 15, 10}},   {177, {37, 8, 17, 8}},    {183, {22, 16, 12, 6}},
    {203, {59, 29, 29, 14}},    {204, {59, 29, 29, 14}},   {205, {59, 29, 29, 14}},
};
const std::set<int32_t> kUseAlpha = {8, 9, 10, 16, 18, 20, 21, 24, 25, 26, 41, 42, 43, 44};

TEST(CastRows, BitmapsHaveTheirSizesRegPointsAndAlpha) {
  const CastRows& rows = movieCastRows();
  ASSERT_EQ(rows.bitmaps.size(), kBitmaps.size());
  int32_t previous = 0;
  for (const BitmapRow& row : rows.bitmaps) {
    SCOPED_TRACE(row.number);
    EXPECT_GT(row.number, previous) << "bitmaps in ascending order";
    previous = row.number;
    ASSERT_EQ(kBitmaps.count(row.number), 1u);
    const Geometry& want = kBitmaps.at(row.number);
    EXPECT_EQ(row.castLib, 1);
    EXPECT_EQ(row.width, want.width);
    EXPECT_EQ(row.height, want.height);
    EXPECT_EQ(row.regX, want.regX);
    EXPECT_EQ(row.regY, want.regY);
    EXPECT_EQ(row.depth, 32);
    EXPECT_EQ(row.matteAlphaThreshold, 1);
    EXPECT_EQ(row.reserved1, 0);
    EXPECT_EQ(row.reserved2, 0);
    EXPECT_STREQ(row.filename, "");
    const bool alpha = kUseAlpha.count(row.number) == 1;
    EXPECT_EQ(row.useAlpha, alpha);
    EXPECT_EQ(row.storedFormat, alpha);
    EXPECT_EQ(row.alphaPackedSize != 0, alpha) << "stored images carry an alpha blob";
    if (!alpha) {
      EXPECT_NE(row.packedSize, row.unpackedSize) << "BMPs are compressed";
    }
  }
  // Names are looked up by the scripts.
  const std::map<int32_t, std::string> names = {{8, "aa pressglow go"}, {9, "aa pressglow move"}, {10, "afault1"},
                                                {16, "mapfinal3 copy"}, {18, "shaduw1"}, {20, "wball"},
                                                {21, "shaduw2"}, {24, "wolkje"}, {25, "star"}, {26, "star2"},
                                                {41, "ball blue"}, {42, "ball red"}, {43, "ball yell"},
                                                {44, "ball green"}, {183, "splud"}};
  for (const BitmapRow& row : rows.bitmaps) {
    auto named = names.find(row.number);
    EXPECT_EQ(std::string(row.name), named == names.end() ? "" : named->second) << row.number;
  }
}

TEST(CastRows, MissingNumbersStayMissing) {
  std::set<int32_t> numbers;
  for (const BitmapRow& row : movieCastRows().bitmaps) numbers.insert(row.number);
  for (const FieldRow& row : movieCastRows().fields) numbers.insert(row.number);
  for (const SoundRow& row : movieCastRows().sounds) numbers.insert(row.number);
  for (int32_t absent : {19, 45, 46, 165, 37}) EXPECT_EQ(numbers.count(absent), 0u) << absent;
}

TEST(CastRows, FieldsHaveTheirTextsFontsAndColours) {
  struct Field {
    const char* name;
    int32_t width, height;
    uint32_t color;
    int32_t fontSize;
  };
  const std::map<int32_t, Field> fields = {
      {51, {"gameTxt", 220, 15, 0xFFFFFF, 12}},  // wider: the end text fits one line   {91, {"versie", 33, 12, 0xFFFFFF, 9}},
      {212, {"closestName", 213, 16, 0xFFFFFF, 12}}, {213, {"closest", 139, 17, 0xFFFFFF, 12}},
      {214, {"leader", 116, 18, 0x0099FF, 12}},   {215, {"naam1", 88, 15, 0x0099FF, 12}},
      {216, {"naam2", 88, 15, 0xFF3300, 12}},     {217, {"naam3", 88, 15, 0xFFFF00, 12}},
      {218, {"naam4", 88, 15, 0x00DD00, 12}},     {223, {"naam1b", 99, 15, 0x000000, 12}},
      {227, {"naam1a", 83, 15, 0xFFFFFF, 12}},    {231, {"win1", 83, 20, 0x3399FF, 12}},
      {232, {"win2", 84, 20, 0xFF0000, 12}},      {234, {"win4", 84, 20, 0x00FF00, 12}},
  };
  const CastRows& rows = movieCastRows();
  EXPECT_EQ(rows.fields.size(), 25u);
  for (const FieldRow& row : rows.fields) {
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(row.font, "Tahoma");
    EXPECT_STREQ(row.fontStyle, "bold");
    EXPECT_EQ(row.scrollTop, 0);
    auto want = fields.find(row.number);
    if (want == fields.end()) continue;
    EXPECT_STREQ(row.name, want->second.name);
    EXPECT_EQ(row.width, want->second.width);
    EXPECT_EQ(row.height, want->second.height);
    EXPECT_EQ(row.color, want->second.color);
    EXPECT_EQ(row.fontSize, want->second.fontSize);
  }
}

TEST(CastRows, SoundsAndScripts) {
  const CastRows& rows = movieCastRows();
  std::map<std::string, int32_t> loops;
  for (const SoundRow& row : rows.sounds) loops[row.name] = row.loop;
  EXPECT_EQ(loops.size(), 25u);
  EXPECT_EQ(loops.at("loop"), 1);
  EXPECT_EQ(loops.at("footstep"), 1);
  for (const char* name : {"vault", "rotate", "klak1", "plons", "jumpy", "buddah", "theking", "gangsters", "chair", "listen"})
    EXPECT_EQ(loops.at(name), 0) << name;

  const std::map<int32_t, std::pair<int32_t, std::string>> scripts = {
      {1, {2, ""}},           {2, {3, "engine"}},    {3, {1, ""}},       {4, {1, "startgame"}},
      {7, {1, "clickPow"}},   {8, {1, "setupDone"}}, {9, {1, "changeStatus"}}, {12, {1, "gomenu"}},
      {15, {1, "goscores"}},  {16, {1, "gohelp"}},   {17, {1, ""}},      {24, {1, "showmap"}},
      {25, {1, "closemap"}}};
  ASSERT_EQ(rows.scripts.size(), scripts.size());
  for (const ScriptRow& row : rows.scripts) {
    EXPECT_EQ(row.castLib, 2);
    ASSERT_EQ(scripts.count(row.number), 1u) << row.number;
    EXPECT_EQ(row.kind, scripts.at(row.number).first) << row.number;
    EXPECT_EQ(std::string(row.name), scripts.at(row.number).second);
  }
}

// The commands of a channel's span as opcode -> value.
std::map<int32_t, int32_t> commandsOf(int32_t channel) {
  for (const FrameSpan& span : frameSpans())
    if (span.channel == channel) {
      std::map<int32_t, int32_t> commands;
      for (size_t i = 0; i + 1 < span.commands.size(); i += 2) commands[span.commands[i]] = span.commands[i + 1];
      return commands;
    }
  return {};
}

TEST(Score, SpansRunInChannelOrderAndStartWithTheirMember) {
  int32_t previous = -1;
  size_t count = 0;
  for (const FrameSpan& span : frameSpans()) {
    EXPECT_GT(span.channel, previous);
    previous = span.channel;
    ASSERT_GE(span.commands.size(), 4u);
    EXPECT_EQ(span.commands[0], 9);  // castLibNum
    EXPECT_EQ(span.commands[2], 10);  // memberNum
    EXPECT_EQ(span.commands.size() % 2, 0u);
    ++count;
  }
  EXPECT_EQ(frameSpans().front().channel, 0);
  EXPECT_EQ(frameSpans().back().channel, 500);
  // 0, 1, 5, 12 icons, 22, 24, 25, 3 buttons, 3 glows, 51 pool, 109, 110, 10 splashes, 181, 183,
  // 191, 199, 200, 201, 4 names, 4 distances, 225, 238, 239, 31 pool, 280, 26 clouds, 89 stars,
  // 400, 401, 402, 4 names, 4 kinds, 4 wins, 480, 490, 496, 498, 499, 500.
  EXPECT_EQ(count, 272u);
}

TEST(Score, HotSpotsAndPicturesSitWhereTheArtExpectsThem) {
  using Commands = std::map<int32_t, int32_t>;
  EXPECT_EQ(commandsOf(0), (Commands{{9, 2}, {10, 3}}));
  EXPECT_EQ(commandsOf(1), (Commands{{9, 1}, {10, 13}, {0, 120}, {1, 160}}));
  EXPECT_EQ(commandsOf(238), (Commands{{9, 1}, {10, 15}, {0, 120}, {1, 160}}));
  // start, help and "done" hot spots: invisible stretched pixels
  EXPECT_EQ(commandsOf(225), (Commands{{9, 1}, {10, 17}, {0, 77}, {1, 133}, {2, 1}, {4, 89}, {5, 35}, {6, 0}}));
  EXPECT_EQ(commandsOf(496), (Commands{{9, 1}, {10, 60}, {0, 76}, {1, 180}, {2, 1}, {4, 89}, {5, 38}, {6, 0}}));
  EXPECT_EQ(commandsOf(402), (Commands{{9, 1}, {10, 53}, {0, 76}, {1, 273}, {2, 1}, {4, 88}, {5, 37}, {6, 0}}));
  EXPECT_EQ(commandsOf(181), (Commands{{9, 1}, {10, 59}, {0, 120}, {1, 239}, {6, 0}}));
  EXPECT_EQ(commandsOf(199), (Commands{{9, 1}, {10, 11}, {0, 101}, {1, 146}, {3, 8}, {6, 230}}));
  // set-up rows
  for (int32_t row = 0; row < 4; ++row) {
    EXPECT_EQ(commandsOf(404 + row).at(10), 215 + row);
    EXPECT_EQ(commandsOf(404 + row).at(1), 82 + 46 * row);
    EXPECT_EQ(commandsOf(408 + row).at(0), 193);
    EXPECT_EQ(commandsOf(408 + row).at(1), 82 + 46 * row);
    EXPECT_EQ(commandsOf(413 + row).at(10), 231 + row);
    EXPECT_EQ(commandsOf(413 + row).at(0), -13);
  }
  EXPECT_EQ(commandsOf(408).at(10), 203);
  EXPECT_EQ(commandsOf(409).at(10), 204);
  EXPECT_EQ(commandsOf(411).at(10), 205);
  // members that do not exist start in their channels and show nothing until a script acts
  EXPECT_EQ(commandsOf(109).at(10), 46);
  EXPECT_EQ(commandsOf(480).at(10), 165);
  EXPECT_EQ(commandsOf(498).at(10), 37);
  // the free pools wait off stage, where the scripts look for them
  for (int32_t channel : {50, 100, 120, 240, 285, 311, 399}) EXPECT_EQ(commandsOf(channel).at(0), -800) << channel;
}

TEST(Score, OnlyTheButtonsCarryBehaviours) {
  const std::map<int32_t, int32_t> carried = {{0, 3},     {22, 25},   {36, 7},   {181, 12}, {183, 24}, {225, 4},
                                              {239, 15},  {402, 8},   {408, 9},  {409, 9},  {410, 9},  {411, 9},
                                              {480, 17},  {496, 16}};
  for (const FrameSpan& span : frameSpans()) {
    auto want = carried.find(span.channel);
    EXPECT_EQ(behaviourOf(span.channel), want == carried.end() ? 0 : want->second) << span.channel;
  }
}

TEST(ScriptFactory, MakesTheClassOfEveryScriptMember) {
  initValueModel();
  {
    for (const ScriptRow& row : movieCastRows().scripts) {
      Value made = createScript(row.number, row.castLib);
      ScriptInstance* instance = scriptInstanceOf(made);
      ASSERT_NE(instance, nullptr) << row.number;
      if (row.kind == 1 && row.number != script::frameLoop) {
        EXPECT_EQ(instance->eventMask(), event::mouseUp) << row.number;
      }
    }
    EXPECT_EQ(scriptInstanceOf(createScript(script::frameLoop, 2))->eventMask(), event::exitFrame);
    EXPECT_EQ(scriptInstanceOf(createScript(script::engine, 2))->eventMask(), 0u);
    for (auto [number, castLib] : {std::pair{5, 2}, {2, 1}, {26, 2}, {0, 2}}) {
      Value none = createScript(number, castLib);
      EXPECT_TRUE(none.is(sym::integer)) << number;
      EXPECT_EQ(none.toInteger(), 0);
    }
  }
  shutdownValueModel();
}

TEST(GameSymbols, RegisterFrom365InOrder) {
  SymbolTable::global().clear();
  SymbolTable::global().addBuiltins();
  EXPECT_TRUE(registerGameSymbols());
  EXPECT_EQ(SymbolTable::global().symbolName(365), "singlePlayer");
  EXPECT_EQ(SymbolTable::global().symbolName(s::pList), "pList");
  EXPECT_EQ(SymbolTable::global().symbolName(s::ff), "ff");
  EXPECT_EQ(s::ff, 365 + 140);
  EXPECT_EQ(SymbolTable::global().symbolName(sym::unused), "");
  SymbolTable::global().clear();
}

}  // namespace
}  // namespace qn::game

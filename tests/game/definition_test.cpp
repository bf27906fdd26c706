// The game's definition as data: the cast rows the pack step compiled in, held to the manifest
// they were packed from, the score of the game frame with its behaviours, the game's symbols and
// the script classes behind the script members.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "cast/cast_rows.h"
#include "engine/script_instance.h"
#include "game/button_behaviour.h"
#include "game/game_symbols.h"
#include "game/frame_spans.h"
#include "game/script_factory.h"
#include "script/symbol_table.h"
#include "tools/qmftool/manifest.h"

namespace qn::game {
namespace {

// The manifest the cast rows were packed from (assets/cast.manifest): every member of the compiled
// cast is checked against its entry, and every entry has its member.
const qmftool::Manifest& castManifest() {
  static const qmftool::Manifest manifest = [] {
    qmftool::Manifest read;
    std::string error;
    if (!qmftool::readManifest(BOULES_CAST_MANIFEST, read, error)) ADD_FAILURE() << error;
    return read;
  }();
  return manifest;
}

const qmftool::ManifestEntry* entryOf(qmftool::MemberKind kind, int32_t number, int32_t castLib) {
  for (const qmftool::ManifestEntry& entry : castManifest().entries)
    if (entry.kind == kind && entry.number == number && entry.castLib == castLib) return &entry;
  return nullptr;
}

size_t entriesOf(qmftool::MemberKind kind) {
  size_t count = 0;
  for (const qmftool::ManifestEntry& entry : castManifest().entries) count += entry.kind == kind ? 1 : 0;
  return count;
}

std::string valueOf(const qmftool::ManifestEntry& entry, const char* key, const char* fallback = "") {
  auto found = entry.values.find(key);
  return found != entry.values.end() ? found->second : fallback;
}
int64_t numberOf(const qmftool::ManifestEntry& entry, const char* key, int64_t fallback = 0) {
  const std::string text = valueOf(entry, key);
  return text.empty() ? fallback : std::stoll(text, nullptr, 0);
}

// The width and height a PNG file's header gives.
std::pair<int32_t, int32_t> pngSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  auto bigEndian = [&](int at) {
    return int32_t{header[at]} << 24 | int32_t{header[at + 1]} << 16 | int32_t{header[at + 2]} << 8 | header[at + 3];
  };
  return {bigEndian(16), bigEndian(20)};
}

// Bitmaps: the picture's size, the entry's regPoint, useAlpha and name; a picture stored as it is
// exactly when it has useAlpha, and then with an alpha blob.
TEST(CastRows, BitmapsAreTheManifestsWithAlphaBlobsExactlyOnStoredPictures) {
  const CastRows& rows = movieCastRows();
  EXPECT_EQ(rows.bitmaps.size(), entriesOf(qmftool::MemberKind::bitmap));
  int32_t previous = 0;
  for (const BitmapRow& row : rows.bitmaps) {
    SCOPED_TRACE(row.number);
    EXPECT_GT(row.number, previous) << "in ascending order";
    previous = row.number;
    const qmftool::ManifestEntry* entry = entryOf(qmftool::MemberKind::bitmap, row.number, row.castLib);
    ASSERT_NE(entry, nullptr);
    const auto [width, height] = pngSize(castManifest().folder + "/" + valueOf(*entry, "image"));
    EXPECT_EQ(row.width, width);
    EXPECT_EQ(row.height, height);
    EXPECT_EQ(row.regX, numberOf(*entry, "regX"));
    EXPECT_EQ(row.regY, numberOf(*entry, "regY"));
    EXPECT_STREQ(row.name, valueOf(*entry, "name").c_str());
    EXPECT_EQ(row.useAlpha, numberOf(*entry, "useAlpha"));
    EXPECT_EQ(row.depth, 32);
    EXPECT_EQ(row.matteAlphaThreshold, 1);
    EXPECT_EQ(row.reserved1, 0);
    EXPECT_EQ(row.reserved2, 0);
    EXPECT_STREQ(row.filename, "");
    EXPECT_EQ(row.storedFormat, row.useAlpha) << "a picture stored as it is exactly when it has useAlpha";
    EXPECT_EQ(row.alphaPackedSize != 0, row.useAlpha != 0) << "an alpha blob exactly with useAlpha";
    EXPECT_TRUE(row.useAlpha || row.packedSize != row.unpackedSize) << "BMPs are compressed";
  }
}

TEST(CastRows, MissingNumbersStayMissing) {
  std::set<int32_t> numbers;
  for (const BitmapRow& row : movieCastRows().bitmaps) numbers.insert(row.number);
  for (const FieldRow& row : movieCastRows().fields) numbers.insert(row.number);
  for (const SoundRow& row : movieCastRows().sounds) numbers.insert(row.number);
  for (int32_t absent : {19, 45, 46, 165, 37}) EXPECT_EQ(numbers.count(absent), 0u) << absent;
}

// Every field is Tahoma bold at 12 points, but the version at 9.
TEST(CastRows, FieldsAreTheManifestsInTahomaBold) {
  const CastRows& rows = movieCastRows();
  EXPECT_EQ(rows.fields.size(), entriesOf(qmftool::MemberKind::field));
  for (const FieldRow& row : rows.fields) {
    SCOPED_TRACE(row.name);
    const qmftool::ManifestEntry* entry = entryOf(qmftool::MemberKind::field, row.number, row.castLib);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(row.name, valueOf(*entry, "name").c_str());
    EXPECT_EQ(row.width, numberOf(*entry, "width"));
    EXPECT_EQ(row.height, numberOf(*entry, "height"));
    EXPECT_EQ(row.color, numberOf(*entry, "color"));
    EXPECT_EQ(row.bgColor, numberOf(*entry, "bgColor"));
    EXPECT_EQ(row.lineHeight, numberOf(*entry, "lineHeight"));
    EXPECT_EQ(row.alignment, numberOf(*entry, "alignment"));
    EXPECT_EQ(row.wordWrap, numberOf(*entry, "wordWrap"));
    EXPECT_EQ(row.scrollTop, 0);
    EXPECT_STREQ(row.font, "Tahoma");
    EXPECT_STREQ(row.fontStyle, "bold");
    EXPECT_EQ(row.fontSize, std::string(row.name) == "versie" ? 9 : 12);
  }
}

// Sounds loop only for the music and the footsteps; scripts have their types and names.
TEST(CastRows, SoundsAndScriptsAreTheManifests) {
  const CastRows& rows = movieCastRows();
  EXPECT_EQ(rows.sounds.size(), entriesOf(qmftool::MemberKind::sound));
  for (const SoundRow& row : rows.sounds) {
    const qmftool::ManifestEntry* entry = entryOf(qmftool::MemberKind::sound, row.number, row.castLib);
    ASSERT_NE(entry, nullptr) << row.name;
    EXPECT_STREQ(row.name, valueOf(*entry, "name").c_str());
    EXPECT_EQ(row.loop, numberOf(*entry, "loop")) << row.name;
    EXPECT_EQ(row.loop != 0, std::string(row.name) == "loop" || std::string(row.name) == "footstep") << row.name;
  }
  EXPECT_EQ(rows.scripts.size(), entriesOf(qmftool::MemberKind::script));
  for (const ScriptRow& row : rows.scripts) {
    const qmftool::ManifestEntry* entry = entryOf(qmftool::MemberKind::script, row.number, row.castLib);
    ASSERT_NE(entry, nullptr) << row.number;
    EXPECT_EQ(row.castLib, 2);
    EXPECT_EQ(row.kind, numberOf(*entry, "type")) << row.number;
    EXPECT_STREQ(row.name, valueOf(*entry, "name").c_str()) << row.number;
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

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "shell/key_tables.h"
#include "shell/key_translator.h"

namespace qn {
namespace {

using keys::charByVK;
using keys::keyCodeByChar;
using keys::keyCodeByVK;
using keys::vkByKeyCode;

TEST(KeyTablesTest, TablesAgreeWithTheDeviceKeyboard) {
  struct Entry {
    const keys::KeyTable& table;
    int index;
    int expected;
  };
  const std::vector<Entry> entries = {
      {keyCodeByVK, 27, 53},  {keyCodeByVK, 37, 123}, {keyCodeByVK, 123, 111}, {keyCodeByVK, 145, 107},
      {keyCodeByVK, 65, 0},   {charByVK, 8, 8},       {charByVK, 46, 127},     {charByVK, 127, 16},
      {charByVK, 65, 1},      {charByVK, 27, 0},      {keyCodeByChar, 'a', 0}, {keyCodeByChar, 'A', 0},
      {keyCodeByChar, 'm', 46}, {keyCodeByChar, 1, 0},  {keyCodeByChar, 26, 6},  {keyCodeByChar, 8, 51},
      {keyCodeByChar, 9, 48}, {keyCodeByChar, 13, 36}, {keyCodeByChar, '~', 50}, {keyCodeByChar, ')', 29},
      {keyCodeByChar, 200, 0}, {vkByKeyCode, 0, 'A'},  {vkByKeyCode, 21, '4'},  {vkByKeyCode, 29, '0'},
      {vkByKeyCode, 46, 'M'}, {vkByKeyCode, 36, 13},  {vkByKeyCode, 126, 38},  {vkByKeyCode, 50, 0},
  };
  for (const Entry& entry : entries) EXPECT_EQ(entry.table[entry.index], entry.expected) << entry.index;
}

TEST(KeyTranslationTest, KeyDownsGiveTheDeviceCodes) {
  struct Case {
    uint32_t vk;
    int orientation;
    std::optional<KeyReport> expected;
  };
  const GameKeys& g = kDesktopGameKeys;
  const std::vector<Case> cases = {
      {37, 0, KeyReport{28, 123}},    // left
      {37, 90, KeyReport{30, 126}},   // left on a stage turned 90 is up
      {38, 90, KeyReport{29, 124}},   // up becomes right
      {37, -90, KeyReport{31, 125}},  // left becomes down
      {40, -90, KeyReport{29, 124}},  // down becomes right
      {27, 0, KeyReport{0, 53}},      // escape: a code, its character comes as a message
      {g.a, 0, KeyReport{0, 195}},    {g.b, 0, KeyReport{0, 196}}, {g.c, 0, KeyReport{0, 194}},
      {197, 0, KeyReport{0, 197}},    {g.start, 0, std::nullopt},  // the start key keeps its table code (none)
      {65, 0, std::nullopt},          // a letter's key-down gives no event by itself
      {300, 0, std::nullopt},         {112, 0, KeyReport{16, 122}},
  };
  for (const Case& c : cases) {
    KeyTranslator translator;
    EXPECT_EQ(translator.keyDown(c.vk, c.orientation), c.expected) << c.vk << " at " << c.orientation;
  }
}

TEST(KeyTranslationTest, CharactersAndTheTwoKeyDownsOfEscape) {
  EXPECT_EQ(KeyTranslator::character('a', false), (KeyReport{'a', 0}));
  EXPECT_EQ(KeyTranslator::character('M', false), (KeyReport{'M', 46}));
  EXPECT_EQ(KeyTranslator::character(27, false), (KeyReport{27, 53}));
  EXPECT_EQ(KeyTranslator::character(13, false), (KeyReport{13, 36}));
  EXPECT_EQ(KeyTranslator::character(13, true), (KeyReport{3, 76}));  // the keypad's enter
  EXPECT_EQ(KeyTranslator::character(0x2C + 256, false), (KeyReport{0x2C, 0}));
}

TEST(KeyTranslationTest, FirstApplicationButtonTakesThePriorUnmappedKeyAsAlias) {
  KeyTranslator translator;
  EXPECT_FALSE(translator.keyDown('X', 0));
  EXPECT_FALSE(translator.keyDown('Y', 0));
  translator.keyUp('X');
  translator.keyUp('Y');
  EXPECT_EQ(translator.keyDown(193, 0), (KeyReport{0, 193}));
  EXPECT_EQ(translator.app1Alias(), 'X');
  EXPECT_TRUE(translator.keyPressed(193, 0));
  translator.keyUp(193);
  EXPECT_TRUE(translator.keyPressed(193, 0));  // down since the last frame: it still counts
  translator.frameSeen();
  EXPECT_FALSE(translator.keyPressed(193, 0));
  translator.keyDown('X', 0);
  EXPECT_TRUE(translator.keyPressed(193, 0));  // the alias key itself is down
  translator.keyUp('X');

  EXPECT_EQ(translator.keyDown('X', 0), (KeyReport{0, 193}));  // the alias now acts as the button
  EXPECT_TRUE(translator.app1Held());
  translator.keyUp('X');
  translator.frameSeen();
  EXPECT_FALSE(translator.app1Held());
  EXPECT_FALSE(translator.keyPressed(193, 0));
  translator.keyDown(193, 0);
  EXPECT_EQ(translator.app1Alias(), 'X');  // set once
}

TEST(KeyTranslationTest, KeyPressedReadsHeldKeysThroughTheTables) {
  KeyTranslator translator;
  EXPECT_FALSE(translator.keyPressed(193, 0));  // no button, no alias
  translator.keyDown(40, 90);                   // the device's down key
  EXPECT_TRUE(translator.keyPressed(125, 0));
  EXPECT_TRUE(translator.keyPressed(123, 90));  // on a turned stage it is the stage's left
  EXPECT_TRUE(translator.keyPressed(124, -90));
  EXPECT_FALSE(translator.keyPressed(126, 90));
  translator.keyUp(40);
  translator.frameSeen();
  EXPECT_FALSE(translator.keyPressed(125, 0));

  translator.keyDown('M', 0);
  EXPECT_TRUE(translator.keyPressed(46, 0));
  translator.keyDown(kDesktopGameKeys.start, 0);
  translator.keyDown(kDesktopGameKeys.a, 0);
  EXPECT_TRUE(translator.keyPressed(192, 0));
  EXPECT_TRUE(translator.keyPressed(195, 0));
  EXPECT_FALSE(translator.keyPressed(196, 0));
  EXPECT_FALSE(translator.keyPressed(1000, 0));  // taken as 255, which has no key
  translator.releaseAll();
  EXPECT_FALSE(translator.keyPressed(46, 0));
  EXPECT_FALSE(translator.keyPressed(192, 0));
}

}  // namespace
}  // namespace qn

// Every text the game shows fits its field at its longest: one line (wrapped or not) no wider
// and no higher than the field, in the face the fields are drawn with (Tahoma's metrics, from
// fonts-wine). The names are the longest of the people's and the computers'; distances have
// three digits before the point at most (the field's diagonal is 400 pixels) and four after it.
// "leader" ("<name> is next") is left out: no channel shows it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cast/cast_rows.h"
#include "cast/text_drawing.h"
#include "platform/text_renderer.h"

namespace qn::game {
namespace {

const std::vector<std::string> kNames = {"Player One", "Player Two", "Player Three", "Player Four",
                                         "Orvando",    "Dael",       "Tebrik",       "Vessa"};
constexpr const char* kLongestDistance = "123.4567";

std::vector<std::string> eachName(const std::string& before, const std::string& after) {
  std::vector<std::string> texts;
  for (const std::string& name : kNames) texts.push_back(before + name + after);
  return texts;
}

std::map<std::string, std::vector<std::string>> textsByField() {
  std::map<std::string, std::vector<std::string>> texts;
  std::vector<std::string>& turn = texts["gameTxt"];
  for (const char* ball : {", ball one", ", ball two", ", ball three", " wins!!!"})
    for (const std::string& text : eachName("", ball)) turn.push_back(text);
  for (const std::string& text : eachName("", std::string("'s distance: ") + kLongestDistance)) turn.push_back(text);
  for (const char* text : {"Draw!", "No balls!", "GAME START"}) turn.push_back(text);
  texts["closestName"] = eachName("", std::string(": ") + kLongestDistance + " cm");
  texts["versie"] = {"1.0"};
  for (const char* slot : {"1", "2", "3", "4"}) {
    texts[std::string("naam") + slot] = kNames;  // set-up names: the slot's own two, but any fits
    texts[std::string("naam") + slot + "a"] = kNames;
    texts[std::string("distance") + slot] = {std::string(kLongestDistance) + " cm"};
    texts[std::string("win") + slot] = {"999"};
  }
  return texts;
}

TEST(TextFit, EveryTextFitsItsFieldAtItsLongest) {
  const auto texts = textsByField();
  size_t fieldsChecked = 0;
  for (const FieldRow& row : movieCastRows().fields) {
    const auto found = texts.find(row.name);
    if (found == texts.end()) continue;
    ++fieldsChecked;
    const TextFormat format{row.font, row.fontSize, row.fontStyle, row.alignment, row.wordWrap != 0};
    const platform::TextBox box{row.width, row.height, platform::TextAlignment::left, row.wordWrap != 0};
    for (const std::string& text : found->second) {
      const platform::TextExtent extent = platform::measureText(text, fontRequestFor(format), box);
      EXPECT_TRUE(extent.width > 0 && extent.width <= row.width && extent.height <= row.height)
          << '"' << text << "\" in " << row.name << " (" << row.width << " x " << row.height << "): " << extent.width
          << " x " << extent.height << " (is fonts-wine installed?)";
    }
  }
  EXPECT_EQ(fieldsChecked, texts.size());
}

}  // namespace
}  // namespace qn::game

#include "shell/key_tables.h"

#include <initializer_list>
#include <utility>

namespace qn::keys {

namespace {

using Pairs = std::initializer_list<std::pair<uint8_t, uint8_t>>;

constexpr KeyTable tableOf(Pairs pairs) {
  KeyTable table{};
  for (auto [from, to] : pairs) table[from] = to;
  return table;
}

// Key codes of the keys producing these characters on a US keyboard; upper and lower case alike.
constexpr Pairs kLetterCodes = {
    {'a', 0},  {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},  {'z', 6},  {'x', 7},  {'c', 8},
    {'v', 9},  {'b', 11}, {'q', 12}, {'w', 13}, {'e', 14}, {'r', 15}, {'y', 16}, {'t', 17}, {'o', 31},
    {'u', 32}, {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38}, {'k', 40}, {'n', 45}, {'m', 46}};

constexpr Pairs kDigitCodes = {{'1', 18}, {'2', 19}, {'3', 20}, {'4', 21}, {'6', 22},
                               {'5', 23}, {'9', 25}, {'7', 26}, {'8', 28}, {'0', 29}};

constexpr Pairs kOtherCharCodes = {
    {'=', 24},  {'+', 24},  {'-', 27},  {'_', 27},  {']', 30},  {'}', 30},  {'[', 33},  {'{', 33},
    {'\'', 39}, {'"', 39},  {';', 41},  {':', 41},  {'\\', 42}, {'|', 42},  {',', 43},  {'<', 43},
    {'/', 44},  {'?', 44},  {'.', 47},  {'>', 47},  {'`', 50},  {'~', 50},  {'!', 18},  {'@', 19},
    {'#', 20},  {'$', 21},  {'%', 23},  {'^', 22},  {'&', 26},  {'*', 28},  {'(', 25},  {')', 29},
    {8, 51},    {9, 48},    {13, 36},   {27, 53},   {28, 123},  {29, 124},  {30, 126},  {31, 125},
    {32, 49},   {127, 117}};

constexpr KeyTable buildKeyCodeByChar() {
  KeyTable table = tableOf(kOtherCharCodes);
  for (auto [letter, code] : kLetterCodes) {
    table[letter] = code;
    table[letter - 'a' + 'A'] = code;
    uint8_t control = static_cast<uint8_t>(letter - 'a' + 1);  // Ctrl+letter
    if (control != 8 && control != 9 && control != 13) table[control] = code;
  }
  for (auto [digit, code] : kDigitCodes) table[digit] = code;
  return table;
}

constexpr KeyTable buildVkByKeyCode() {
  KeyTable table = tableOf({{24, 187},  {27, 189},  {30, 221},  {33, 219},  {36, 13},   {39, 222},
                            {41, 186},  {42, 220},  {43, 188},  {44, 191},  {47, 190},  {48, 9},
                            {49, 32},   {51, 8},    {53, 27},   {56, 16},   {96, 116},  {97, 117},
                            {98, 118},  {99, 114},  {100, 119}, {101, 120}, {109, 121}, {114, 45},
                            {115, 36},  {116, 33},  {117, 46},  {118, 115}, {119, 35},  {120, 113},
                            {121, 34},  {122, 112}, {123, 37},  {124, 39},  {125, 40},  {126, 38}});
  // A letter's or digit's virtual key is its upper-case character.
  for (auto [letter, code] : kLetterCodes) table[code] = static_cast<uint8_t>(letter - 'a' + 'A');
  for (auto [digit, code] : kDigitCodes) table[code] = digit;
  return table;
}

constexpr KeyTable kKeyCodeByVK = tableOf({{19, 76},   {27, 53},   {32, 49},   {33, 116},  {34, 121},
                                           {35, 119},  {36, 115},  {37, 123},  {38, 126},  {39, 124},
                                           {40, 125},  {45, 114},  {46, 117},  {112, 122}, {113, 120},
                                           {114, 99},  {115, 118}, {116, 96},  {117, 97},  {118, 98},
                                           {119, 100}, {120, 101}, {121, 109}, {122, 103}, {123, 111},
                                           {145, 107}});

constexpr KeyTable buildCharByVK() {
  KeyTable table = tableOf({{8, 8},   {19, 13}, {33, 11}, {34, 12}, {35, 4},   {36, 1},  {37, 28},
                            {38, 30}, {39, 29}, {40, 31}, {45, 5},  {46, 127}, {65, 1}, {145, 16}});
  for (int functionKey = 112; functionKey <= 127; ++functionKey) table[functionKey] = 16;
  return table;
}

}  // namespace

const KeyTable keyCodeByVK = kKeyCodeByVK;
const KeyTable charByVK = buildCharByVK();
const KeyTable keyCodeByChar = buildKeyCodeByChar();
const KeyTable vkByKeyCode = buildVkByKeyCode();

static_assert(buildKeyCodeByChar()['A'] == 0 && buildKeyCodeByChar()[1] == 0 && buildKeyCodeByChar()[8] == 51);
static_assert(buildVkByKeyCode()[0] == 'A' && buildVkByKeyCode()[21] == '4' && buildVkByKeyCode()[29] == '0');

}  // namespace qn::keys

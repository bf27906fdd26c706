#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "script/chunk_engine.h"
#include "script/color_object.h"
#include "script/format_text.h"
#include "script/list_object.h"
#include "script/prop_list_object.h"
#include "script/report_error.h"
#include "script/script_host.h"
#include "script/small_block_pool.h"
#include "script/string_object.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"
#include "script/wide_text.h"
#include "tests/script/script_fixture.h"

namespace qn {
namespace {

class Host final : public ScriptHost {
 public:
  int32_t floatPrecision() const override { return 4; }
  bool handleGlobal(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override {
    return callChunkFunction(method, argc, result, argv, flag);
  }
  std::string_view itemDelimiter() const override { return delimiter; }
  std::string delimiter = ",";
};

class StringTest : public ScriptFixture {
 protected:
  void SetUp() override {
    ScriptFixture::SetUp();
    setScriptHost(&host_);
  }
  void TearDown() override {
    setScriptHost(nullptr);
    ScriptFixture::TearDown();
  }

  // The movie's global chunk function with the target first.
  template <class... Args>
  Value chunk(SymbolNumber function, Value& target, Args&&... args) {
    Value result;
    std::vector<Value> values{Value(std::forward<Args>(args))...};
    std::vector<Value*> argv{&target};
    for (Value& v : values) argv.push_back(&v);
    host_.handleGlobal(function, static_cast<int>(argv.size()), result, argv.data(), true);
    return result;
  }

  static std::string textIn(const Value& value) { return std::string(stringObjectOf(value)->text()); }

  Host host_;
};

Value line() { return Value::symbol(sym::line); }
Value item() { return Value::symbol(sym::item); }
Value word() { return Value::symbol(sym::word); }
Value character() { return Value::symbol(sym::char_); }

TEST_F(StringTest, NumberReadingsFollowTheCLibrary) {
  Value mixed("12abc");
  EXPECT_TRUE(mixed.isIntegerLike());
  EXPECT_EQ(mixed.toInteger(), 12);
  Value letters("abc");
  EXPECT_FALSE(letters.isIntegerLike() || letters.isFloatLike());
  EXPECT_EQ(letters.compare(Value(5), false), kIncomparable);
  EXPECT_EQ(Value(5).compare(letters, false), kIncomparable);
  EXPECT_TRUE((letters + Value(1)).isVoid());
  EXPECT_TRUE((Value(1) + letters).isVoid());
  EXPECT_EQ(Value(" \t-7x").toInteger(), -7);
  EXPECT_FALSE(Value("+").isIntegerLike());
  EXPECT_FALSE(Value("").isFloatLike());
  EXPECT_EQ(Value("3.7").toInteger(), 3);
  EXPECT_DOUBLE_EQ(Value("0.1").toFloat(), static_cast<double>(0.1f));  // single precision widened
  EXPECT_TRUE(Value(".5").isFloatLike() && !Value(".5").isIntegerLike());
  EXPECT_EQ(Value("99999999999").toInteger(), static_cast<int32_t>(99999999999LL));  // wraps, no trap
  Value sum = Value("2.5") + Value(1);
  EXPECT_TRUE(sum.is(sym::float_));
  EXPECT_DOUBLE_EQ(sum.toFloat(), 3.5);
  EXPECT_TRUE(Value(3) == Value("3.7"));
}

TEST_F(StringTest, ComparisonCaseRulesDependOnTheOperator) {
  Value b("b"), upperA("A");
  EXPECT_FALSE(b < upperA);  // case ignored: b after a
  EXPECT_TRUE(b > upperA);   // exact bytes: lower case after upper case
  EXPECT_TRUE(Value("A") == Value("a"));
  EXPECT_FALSE(Value("A") >= Value("a"));
  EXPECT_EQ(Value("10").compare(Value(9), false), kGreater);
  EXPECT_EQ(Value(9).compare(Value("10"), false), kLess);
  EXPECT_EQ(Value("2.5").compare(Value(2.5), false), kEqual);
  EXPECT_EQ(Value("x").compare(Value::symbol(sym::locH), false), kIncomparable);
  EXPECT_EQ(Value::symbol(sym::locH).compare(Value("locH"), false), kIncomparable);
  EXPECT_TRUE(Value("ab") < Value("abc"));
}

TEST_F(StringTest, TextFormsShowQuotes) {
  EXPECT_EQ(Value("hi").toString(), "\"hi\"");
  EXPECT_EQ(makeList({Value("a"), Value(1)}).toString(), "[\"a\", 1]");
  EXPECT_EQ(stringOf(Value("hi")), "hi");
  EXPECT_EQ(stringOf(Value::symbol(sym::locH)), "locH");
  EXPECT_EQ(textOf(Value::symbol(sym::locH)), "#locH");
  EXPECT_EQ(textIn(concat(Value("a"), Value("b"))), "ab");
  EXPECT_EQ(textIn(concat(Value(1), Value::symbol(sym::locH))), "1#locH");
  EXPECT_EQ(textIn(concat(Value(1.5), makeList({}))), "1.5000[]");
  EXPECT_EQ(symbolOf(Value("x").getProperty(sym::ilk)), sym::string);
  std::string reported;
  static std::string* sink;
  sink = &reported;
  setErrorSink([](std::string_view errorLine) { *sink += errorLine; });
  EXPECT_EQ(Value("x").count(), 0);  // strings have no count(); the length is a property
  setErrorSink(nullptr);
  EXPECT_EQ(reported, "-- This object does not support the count() function\r\n");
}

TEST_F(StringTest, LineItemAndWordCounts) {
  EXPECT_EQ(Value("").getProperty(sym::lineCount).toInteger(), 1);
  EXPECT_EQ(Value("a\rb\r").getProperty(sym::lineCount).toInteger(), 3);
  EXPECT_EQ(Value("a\nb").getProperty(sym::lineCount).toInteger(), 1);  // line feeds do not split
  EXPECT_EQ(Value("a,b,,c").getProperty(sym::itemCount).toInteger(), 4);
  EXPECT_EQ(Value("").getProperty(sym::itemCount).toInteger(), 1);
  EXPECT_EQ(Value(" one\ttwo\r\nthree  ").getProperty(sym::wordCount).toInteger(), 3);
  EXPECT_EQ(Value(" \t ").getProperty(sym::wordCount).toInteger(), 0);
  EXPECT_EQ(Value("abc").getProperty(sym::length).toInteger(), 3);
  EXPECT_EQ(Value("abc").call(sym::length).toInteger(), 3);
  EXPECT_EQ(Value("a b").call(sym::wordCount, 1, 2).toInteger(), 2);  // any argument count

  host_.delimiter = "::";
  EXPECT_EQ(Value("a::b:c:::d").getProperty(sym::itemCount).toInteger(), 3);
  EXPECT_EQ(textIn(Value("a::b:c:::d").getProperty(sym::lastItem)), ":d");
  host_.delimiter = "";  // separates nothing, and never loops
  EXPECT_EQ(Value("a,b").getProperty(sym::itemCount).toInteger(), 1);
  host_.delimiter = ",";

  Value text("one two\rthree, four\r");
  EXPECT_EQ(textIn(text.getProperty(sym::lastLine)), "");
  EXPECT_EQ(textIn(text.getProperty(sym::lastWord)), "four");
  EXPECT_EQ(textIn(text.getProperty(sym::lastItem)), " four\r");
  EXPECT_EQ(textIn(text.getProperty(sym::lastChar)), "\r");
  // The line index goes with every change.
  text.call(sym::putAfter, "x\ry");
  EXPECT_EQ(text.getProperty(sym::lineCount).toInteger(), 4);
  EXPECT_EQ(textIn(text.getProperty(sym::lastLine)), "y");
}

TEST_F(StringTest, ChunkReadsAndEditorExamples) {
  Value text("one two\rthree four\rfive");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, line(), 2, 1)), "three four\rfive");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, character(), 3, 2)), "");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, line(), 2, 2, word(), 2, 2)), "four");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, word(), 2, 3)), "two\rthree");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, line(), 9, 9)), "");
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, Value(SymbolNumber{sym::line}), 3, 3)), "five");  // a type number
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, Value("x"), 3, 3)), textIn(text));  // skipped
  EXPECT_EQ(textIn(chunk(sym::getChunk, text, line(), 0, 3)), textIn(text));  // below 1: unchanged
  EXPECT_EQ(textIn(text.call(sym::getChunk, word(), 1, 1)), "one");  // direct call on the string
  EXPECT_EQ(textIn(Value("  a b").call(sym::getChunk, word(), 1, 1)), "  a");  // word 1 keeps the start

  Value items("a,b");
  EXPECT_TRUE(chunk(sym::setChunk, items, item(), 5, 5, "x").isVoid());
  EXPECT_EQ(textIn(items), "a,b,,,x");
  Value chars("ab");
  chunk(sym::setChunk, chars, character(), 5, 5, "x");
  EXPECT_EQ(textIn(chars), "ab  x");
  Value words("one two three");
  chunk(sym::delChunk, words, word(), 2, 2);
  EXPECT_EQ(textIn(words), "one  three");
  Value lines("a\rb\rc");
  chunk(sym::delChunk, lines, line(), 2, 2);
  EXPECT_EQ(textIn(lines), "a\r\rc");
  chunk(sym::setChunk, lines, line(), 5, 5, "e");
  EXPECT_EQ(textIn(lines), "a\r\rc\r\re");
  chunk(sym::putAfterChunk, lines, line(), 1, 1, "!");
  chunk(sym::putBeforeChunk, lines, line(), 3, 3, "<");
  EXPECT_EQ(textIn(lines), "a!\r\r<c\r\re");
  chunk(sym::setChunk, lines, line(), 1, 1, word(), 3, 3, "w");  // words are never padded
  EXPECT_EQ(textIn(lines), "a!w\r\r<c\r\re");

  host_.delimiter = "::";
  Value pairs("a");
  chunk(sym::setChunk, pairs, item(), 3, 3, "c");  // padded with whole delimiters
  EXPECT_EQ(textIn(pairs), "a::::c");
  EXPECT_EQ(textIn(chunk(sym::getChunk, pairs, item(), 3, 3)), "c");
  host_.delimiter = ",";

  // Too few arguments change nothing; a new text that is not a string goes in as its string().
  Value small("abc");
  Value unchanged;
  std::vector<Value*> tooFew{&small, &small, &small};
  EXPECT_FALSE(host_.handleGlobal(sym::setChunk, 3, unchanged, tooFew.data(), true));
  chunk(sym::setChunk, small, character(), 2, 2, 7);
  chunk(sym::putAfterChunk, small, character(), 3, 3, Value::symbol(sym::locH));
  chunk(sym::putBeforeChunk, small, character(), 1, 1, makeList({}));
  EXPECT_EQ(textIn(small), "[]a7clocH");
  // Two whole triples and a stray argument: only whole triples are read.
  EXPECT_EQ(textIn(chunk(sym::getChunk, small, character(), 2, 3, character())), "]a");
}

TEST_F(StringTest, AChunkEditChangesOnlyTheVariablePassed) {
  Value first("a,b");
  Value second = first;
  chunk(sym::setChunk, second, item(), 2, 2, "z");
  EXPECT_EQ(textIn(first), "a,b");
  EXPECT_EQ(textIn(second), "a,z");
  EXPECT_FALSE(first.sameObject(second));
  // A string held once is changed in place, and reading never copies.
  ScriptObject* held = second.object();
  chunk(sym::putAfterChunk, second, item(), 1, 1, "y");
  EXPECT_EQ(second.object(), held);
  Value third = second;
  chunk(sym::getChunk, third, item(), 1, 1);
  EXPECT_TRUE(third.sameObject(second));
}

// A text or field member answers the chunk functions itself, with the arguments after it.
TEST_F(StringTest, OtherTargetsReceiveTheCallAsItIs) {
  struct Member final : ScriptObject {
    Member() : ScriptObject(sym::member) {}
    void toString(std::string& out) const override { out += "(member 1)"; }
    ScriptObject* duplicate() override {
      retain();
      return this;
    }
    bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
      result = Value(static_cast<int32_t>(method * 10 + argc));
      return symbolOf(*argv[0]) == sym::word;
    }
  };
  Value member = Value::adopt(new Member());
  Value other = member;
  EXPECT_EQ(chunk(sym::setChunk, member, word(), 1, 1, "x").toInteger(), sym::setChunk * 10 + 4);
  EXPECT_TRUE(member.sameObject(other));  // only strings are copied
  EXPECT_TRUE(chunk(sym::getAt, member, word(), 1, 1).isVoid());  // not a chunk function
}

TEST_F(StringTest, MethodsOfTheTable) {
  Value hello("Hello");
  EXPECT_EQ(hello.call(sym::contains, "ELL").toInteger(), 1);
  EXPECT_EQ(hello.call(sym::contains, "").toInteger(), 1);
  EXPECT_EQ(hello.call(sym::contains, "hx").toInteger(), 0);
  EXPECT_EQ(hello.call(sym::starts, "hE").toInteger(), 1);
  EXPECT_EQ(hello.call(sym::starts, "llo").toInteger(), 0);
  EXPECT_EQ(Value("LO").call(sym::offset, hello).toInteger(), 4);
  EXPECT_EQ(Value("z").call(sym::offset, hello).toInteger(), 0);
  EXPECT_EQ(Value("1").call(sym::offset, 1).toInteger(), 0);  // not a string
  EXPECT_EQ(textIn(hello.call(sym::concat, 5)), "Hello5");
  EXPECT_EQ(textIn(hello), "Hello");
  EXPECT_EQ(hello.call(sym::concat).toInteger(), 0);  // wrong count: not handled, integer 0

  Value copy = hello.call(sym::putAfter, "!");
  EXPECT_EQ(textIn(hello), "Hello!");
  EXPECT_FALSE(copy.sameObject(hello));
  hello.call(sym::putBefore, hello);  // its own text
  EXPECT_EQ(textIn(hello), "Hello!Hello!");
  EXPECT_EQ(textIn(copy), "Hello!");

  EXPECT_EQ(textIn(hello.call(sym::char_, 2, 4)), "ell");
  EXPECT_EQ(textIn(hello.call(sym::chars, 11, 99)), "o!");
  EXPECT_EQ(textIn(hello.call(sym::char_, 0, 2)), "Hello!Hello!");  // below 1: the whole text
  EXPECT_EQ(textIn(hello.call(sym::char_, 13, 14)), "");
  EXPECT_EQ(textIn(hello.call(sym::char_, 3, 2)), "");
  EXPECT_EQ(symbolOf(hello.call(sym::ilk)), sym::string);
  EXPECT_EQ(hello.call(sym::locH).toInteger(), 0);

  Value duplicate = hello.duplicate();
  EXPECT_FALSE(duplicate.sameObject(hello));
  EXPECT_TRUE(duplicate == hello);
}

TEST_F(StringTest, BuffersUpTo32BytesLiveInPoolCells) {
  SmallBlockPool& pool = SmallBlockPool::shared();
  size_t before = pool.cellsInUse();
  {
    Value fits(std::string(31, 'x'));
    EXPECT_EQ(pool.cellsInUse(), before + 2);  // the object and its buffer
    Value spills(std::string(32, 'x'));
    EXPECT_EQ(pool.cellsInUse(), before + 3);  // the buffer went to the heap
    fits.call(sym::putAfter, "y");  // grows onto the heap
    EXPECT_EQ(pool.cellsInUse(), before + 2);
    EXPECT_EQ(stringObjectOf(fits)->c_str()[32], '\0');
  }
  EXPECT_EQ(pool.cellsInUse(), before);
}

TEST_F(StringTest, HexStringFormattingAndWideText) {
  EXPECT_EQ(textIn(makeRgb(255, 0, 16).call(sym::hexString)), "#FF# 0#10");
  EXPECT_EQ(textIn(makeRgb(1, 2, 3).call(sym::hexString)), "# 1# 2# 3");
  EXPECT_TRUE((makeRgb(1, 1, 1) + Value("5")).isVoid());
  Value notNumber("x");
  Value color = makeRgb(1, 1, 1);
  EXPECT_TRUE((color + notNumber).sameObject(color));

  Value target("old");
  formatText(*stringObjectOf(target), "%s=%d", "speed", 42);
  EXPECT_EQ(textIn(target), "speed=42");
  std::string longText(250, 'q');
  formatText(*stringObjectOf(target), "<%s>", longText.c_str());
  EXPECT_EQ(textIn(target), "<" + longText + ">");
  formatText(*stringObjectOf(target), "%s", "");
  EXPECT_EQ(textIn(target), "");

  WideText wide("a\xE9");
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide.c_str()[0], u'a');
  EXPECT_EQ(wide.c_str()[1], u'\u00E9');
  EXPECT_EQ(wide.c_str()[2], u'\0');
}

TEST_F(StringTest, StringKeysInPropertyListsAndLists) {
  auto* list = new PropListObject();
  Value table = Value::adopt(list);
  table.call(sym::addProp, "b", 2);
  table.call(sym::addProp, "a", 1);
  EXPECT_EQ(table.toString(), "[\"b\": 2, \"a\": 1]");
  EXPECT_TRUE(table.call(sym::getProp, "A").isVoid());  // keys match exactly
  table.call(sym::sort);
  table.call(sym::addProp, "B", 3);  // equal ignoring case: after the existing "b"
  EXPECT_EQ(table.toString(), "[\"a\": 1, \"b\": 2, \"B\": 3]");
  EXPECT_EQ(table.call(sym::getProp, "B").toInteger(), 3);  // binary search, then the exact key
  EXPECT_TRUE(table.call(sym::getProp, "c").isVoid());
  EXPECT_EQ(list->findValueIgnoringCase(Value(3)), 3);

  Value names = makeList({Value("b"), Value("C"), Value("a")});
  names.call(sym::sort);  // ignoring case
  EXPECT_EQ(names.toString(), "[\"a\", \"b\", \"C\"]");
  EXPECT_EQ(names.call(sym::findPos, "B").toInteger(), 0);  // findPos compares exactly
  EXPECT_EQ(names.call(sym::findPos, "b").toInteger(), 2);
  Value copy = names.call(sym::duplicate);
  stringObjectOf(copy.item(1))->append("!");
  EXPECT_EQ(textIn(names.item(1)), "a");
}

// A reference for single chunks of a whole text, written from the rules independently of the
// engine: split into chunks first, then pick.
std::string referenceChunk(const std::string& text, SymbolNumber type, int32_t first, int32_t last) {
  if (first < 1 || last < 1) return text;
  if (type == sym::char_) {
    auto length = static_cast<int32_t>(text.size());
    if (first > length || last < first) return "";
    return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(std::min(last, length) - first + 1));
  }
  auto separator = [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; };
  std::vector<std::pair<size_t, size_t>> spans;  // [start, end) of each chunk
  if (type == sym::word) {
    for (size_t i = 0; i < text.size();) {
      if (separator(text[i])) {
        ++i;
        continue;
      }
      size_t start = i;
      while (i < text.size() && !separator(text[i])) ++i;
      spans.push_back({start, i});
    }
  } else {
    char delimiter = type == sym::line ? '\r' : ',';
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == delimiter) {
        spans.push_back({start, i});
        start = i + 1;
      }
    }
  }
  auto count = static_cast<int32_t>(spans.size());
  if (first > count) return "";
  size_t start = type == sym::word && first == 1 ? 0 : spans[static_cast<size_t>(first - 1)].first;
  size_t end = last < first || last > count ? text.size() : spans[static_cast<size_t>(last - 1)].second;
  return text.substr(start, end - start);
}

// Random texts and random chunk edits: reads agree with the reference, an item or line set is
// read back, and the buffer always ends in its NUL at the recorded length (the sanitizer build
// checks that no edit writes outside it).
TEST_F(StringTest, RandomChunkEditsStayInsideTheBuffer) {
  std::mt19937 random(2024);
  const char alphabet[] = {'a', 'b', ',', ' ', '\r', '\t', 'x'};
  const SymbolNumber types[] = {sym::char_, sym::word, sym::item, sym::line};
  const SymbolNumber editors[] = {sym::setChunk, sym::delChunk, sym::putAfterChunk, sym::putBeforeChunk};
  auto randomText = [&](size_t maximum) {
    std::string text(random() % (maximum + 1), ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    return text;
  };
  auto position = [&] { return static_cast<int32_t>(random() % 12) - 1; };
  for (int round = 0; round < 3000; ++round) {
    std::string original = randomText(60);
    Value text(original);
    SymbolNumber type = types[random() % 4];
    int32_t first = position(), last = position();
    ASSERT_EQ(textIn(chunk(sym::getChunk, text, Value::symbol(type), first, last)), referenceChunk(original, type, first, last))
        << "type " << type << " " << first << " to " << last << " of \"" << original << "\"";

    for (int edit = 0; edit < 4; ++edit) {
      SymbolNumber editor = editors[random() % 4];
      Value outer = Value::symbol(types[random() % 4]), inner = Value::symbol(types[random() % 4]);
      std::string newText = randomText(40);
      if (random() % 2) chunk(editor, text, outer, position(), position(), newText);
      else chunk(editor, text, outer, position(), position(), inner, position(), position(), newText);
      const StringObject& edited = *stringObjectOf(text);
      ASSERT_EQ(edited.c_str()[edited.length()], '\0');
      ASSERT_EQ(std::strlen(edited.c_str()), static_cast<size_t>(edited.length()));
    }

    // Setting item or line n to a text without delimiters reads back as that text.
    SymbolNumber delimited = random() % 2 ? sym::item : sym::line;
    int32_t n = static_cast<int32_t>(random() % 8) + 1;
    chunk(sym::setChunk, text, Value::symbol(delimited), n, n, "new");
    ASSERT_EQ(textIn(chunk(sym::getChunk, text, Value::symbol(delimited), n, n)), "new");
  }
}

}  // namespace
}  // namespace qn

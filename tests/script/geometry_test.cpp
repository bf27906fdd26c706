#include <gtest/gtest.h>

#include <climits>

#include "script/color_object.h"
#include "script/int_list_object.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/rect_object.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"
#include "tests/script/script_fixture.h"

namespace qn {
namespace {

using GeometryTest = ScriptFixture;

TEST_F(GeometryTest, PointFormsRoundingAndText) {
  EXPECT_EQ(makePoint(1, 2).toString(), "point(1, 2)");
  Value mixed = makePoint(Value(1.5), Value(2));
  EXPECT_EQ(mixed.toString(), "point(1.5000, 2.0000)");
  EXPECT_TRUE(pointOf(mixed)->isFloat());
  EXPECT_EQ(pointOf(mixed)->intX(), 2);
  EXPECT_EQ(pointOf(makeFloatPoint(-1.7, -1.5))->intX(), -1);  // +0.5, then toward zero
  EXPECT_EQ(pointOf(makeFloatPoint(-1.7, -1.5))->intY(), -1);
  EXPECT_TRUE(makePoint(Value(3), Value(4)).getProperty(sym::locH).is(sym::integer));
  EXPECT_TRUE(mixed.getProperty(sym::locV).is(sym::float_));
  EXPECT_EQ(mixed.getProperty(sym::count).toInteger(), 2);

  // A float setter turns an integer point into float form; the other coordinate follows.
  Value point = makePoint(3, 7);
  EXPECT_TRUE(point.setProperty(sym::locH, Value(2.5)));
  EXPECT_EQ(point.toString(), "point(2.5000, 7.0000)");
  EXPECT_EQ(pointOf(point)->intX(), 3);
  EXPECT_TRUE(point.setProperty(sym::locV, Value(4)));  // an integer in float form stays float
  EXPECT_EQ(point.toString(), "point(2.5000, 4.0000)");
  EXPECT_FALSE(point.setProperty(sym::locV, Value::symbol(sym::locH)));
  EXPECT_FALSE(point.setProperty(sym::width, Value(1)));
  Value integerPoint = makePoint(1, 1);
  integerPoint.call(sym::setAt, 2, 9);
  integerPoint.call(sym::setAt, 3, 9);
  EXPECT_EQ(integerPoint.toString(), "point(1, 9)");
  EXPECT_TRUE(integerPoint.call(sym::getAt, 3).isVoid());
  Value copy = mixed.call(sym::duplicate);
  EXPECT_FALSE(copy.sameObject(mixed));
  EXPECT_EQ(copy.toString(), mixed.toString());
}

TEST_F(GeometryTest, PointArithmeticKeepsOrWidensTheForm) {
  EXPECT_EQ((makePoint(1, 2) + makePoint(10, 20)).toString(), "point(11, 22)");
  EXPECT_EQ((makePoint(1, 2) * Value(3)).toString(), "point(3, 6)");
  EXPECT_EQ((makePoint(1, 2) * Value(0.5)).toString(), "point(0.5000, 1.0000)");
  EXPECT_EQ((makePoint(1, 2) + makeFloatPoint(0.5, 0.25)).toString(), "point(1.5000, 2.2500)");
  // A float-form point keeps its fractions, whatever it is combined with.
  EXPECT_EQ((makeFloatPoint(0.5, 0.5) * Value(2.0)).toString(), "point(1.0000, 1.0000)");
  EXPECT_EQ((makeFloatPoint(0.5, 0.5) + makePoint(1, 1)).toString(), "point(1.5000, 1.5000)");
  EXPECT_EQ((makePoint(1, 2) + makeIntegerList({5, 5})).toString(), "point(6, 7)");
  EXPECT_EQ((makePoint(1, 2) + makeList({Value(5), Value(0.5)})).toString(), "point(6.0000, 2.5000)");
  Value pairs = makePoint(1, 2) + makeRect(10, 20, 30, 40);
  EXPECT_TRUE(pairs.is(sym::list));
  EXPECT_EQ(pairs.toString(), "[11, 22]");
  EXPECT_EQ((makePoint(1, 2) + makeIntegerList({5})).toString(), "[6]");
  EXPECT_TRUE((makePoint(1, 2) + Value::symbol(sym::locH)).isVoid());
  // A number on the left always gives an integer point, rounding each coordinate.
  EXPECT_EQ((Value(2) * makePoint(1, 2)).toString(), "point(2, 4)");
  EXPECT_EQ((Value(0.5) * makePoint(3, 5)).toString(), "point(2, 3)");
  EXPECT_EQ((Value(0.5) * makePoint(-3, 5)).toString(), "point(-2, 3)");
  EXPECT_EQ((-makePoint(3, -4)).toString(), "point(-3, 4)");
  EXPECT_EQ((Value(10) - makeRect(1, 2, 3, 4)).toString(), "rect(9, 8, 7, 6)");
}

TEST_F(GeometryTest, PointComparisonAndMapping) {
  EXPECT_TRUE(makePoint(1, 2) == makePoint(1, 2));
  EXPECT_TRUE(makePoint(1, 2) == makeFloatPoint(1.0, 2.0));
  EXPECT_TRUE(makePoint(1, 2) == makeIntegerList({1, 2}));
  EXPECT_TRUE(makePoint(1, 3) > makePoint(1, 2));
  EXPECT_EQ(makePoint(1, 2).compare(makeRect(0, 0, 0, 0), false), kLess);  // longer other
  EXPECT_EQ(makePoint(1, 2).compare(makeIntegerList({9}), false), kGreater);
  EXPECT_EQ(makePoint(1, 2).compare(Value(1), false), kIncomparable);

  Value from = makeRect(0, 0, 10, 10);
  Value to = makeRect(0, 0, 100, 50);
  EXPECT_EQ(makePoint(5, 5).call(sym::map, from, to).toString(), "point(50, 25)");
  EXPECT_TRUE(makePoint(5, 5).call(sym::map, from, Value(1)).isVoid());
  // A source rect without width or height maps onto the target's left or top edge.
  EXPECT_EQ(makePoint(5, 5).call(sym::map, makeRect(3, 0, 3, 10), to).toString(), "point(0, 25)");
  EXPECT_EQ(makeRect(2, 2, 4, 4).call(sym::map, makeRect(0, 7, 10, 7), to).toString(), "rect(20, 0, 40, 50)");
  EXPECT_EQ(makeRect(1, 1, 9, 9).call(sym::map, from, to).toString(), "rect(10, 5, 90, 45)");
  // Extreme coordinates neither trap nor overflow the intermediate product.
  Value huge = makePoint(INT32_MAX, INT32_MIN).call(sym::map, makeRect(INT32_MIN, INT32_MIN, INT32_MAX, 1),
                                                     makeRect(0, 0, INT32_MAX, INT32_MAX));
  EXPECT_TRUE(huge.is(sym::point));

  Value box = makeRect(0, 0, 10, 10);
  EXPECT_EQ(makePoint(10, 10).call(sym::inside, box).toInteger(), 1);  // edges are inside
  EXPECT_EQ(makePoint(11, 10).call(sym::inside, box).toInteger(), 0);
  EXPECT_TRUE(makePoint(1, 1).call(sym::inside).isVoid());  // no rect: result untouched
  EXPECT_TRUE(makePoint(1, 1).call(sym::inside, Value(3)).isVoid());
}

TEST_F(GeometryTest, RectMethodsAndTouchingEdges) {
  Value a = makeRect(0, 0, 10, 10);
  Value b = makeRect(10, 10, 20, 20);
  EXPECT_EQ(a.toString(), "rect(0, 0, 10, 10)");
  EXPECT_EQ(a.call(sym::intersect, b).toString(), "rect(10, 10, 10, 10)");  // a shared corner
  EXPECT_EQ(a.call(sym::intersect, makeRect(11, 0, 20, 5)).toString(), "rect(0, 0, 0, 0)");
  EXPECT_TRUE(a.call(sym::intersect, Value(1)).isVoid());
  EXPECT_EQ(a.call(sym::union_, makeRect(-5, 2, 3, 30)).toString(), "rect(-5, 0, 10, 30)");
  EXPECT_EQ(a.call(sym::offset, 5, -5).toString(), "rect(5, -5, 15, 5)");
  EXPECT_EQ(a.toString(), "rect(0, 0, 10, 10)");
  EXPECT_EQ(a.call(sym::offset, 5).toString(), "rect(5, 0, 15, 10)");  // a missing offset is 0
  EXPECT_EQ(a.call(sym::inflate, 2, 3).toString(), "rect(-2, -3, 12, 13)");
  EXPECT_EQ(a.getProperty(sym::width).toInteger(), 10);
  EXPECT_TRUE(a.setProperty(sym::right, Value(12.6)));
  EXPECT_FALSE(a.setProperty(sym::width, Value(1)));
  EXPECT_FALSE(a.setProperty(sym::left, Value::symbol(sym::left)));
  a.call(sym::setAt, 2, 4);
  EXPECT_EQ(a.toString(), "rect(0, 4, 13, 10)");
  EXPECT_EQ(a.call(sym::getAt, 3).toInteger(), 13);
  EXPECT_TRUE(a.call(sym::getAt, 5).isVoid());

  EXPECT_TRUE(rectsIntersect({0, 0, 10, 10}, {10, 0, 20, 10}));
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {0, 11, 10, 20}));
  EXPECT_TRUE(rectWithin({2, 2, 10, 10}, {0, 0, 10, 10}));
  EXPECT_FALSE(rectWithin({2, 2, 11, 10}, {0, 0, 10, 10}));
  RectObject& moving = *rectOf(b);
  moving.moveBy(*pointOf(makePoint(-10, 5)));
  EXPECT_EQ(b.toString(), "rect(0, 15, 10, 25)");
  Value wrapped = makeRect(INT32_MAX, 0, 0, 0).call(sym::offset, 1, 0);
  EXPECT_EQ(rectOf(wrapped)->left(), INT32_MIN);
}

TEST_F(GeometryTest, RectArithmeticAndComparison) {
  Value r = makeRect(1, 2, 3, 4);
  EXPECT_EQ((r * Value(2)).toString(), "rect(2, 4, 6, 8)");
  EXPECT_EQ((r * Value(1.5)).toString(), "rect(2, 3, 5, 6)");
  EXPECT_EQ((r + makeRect(1, 1, 1, 1)).toString(), "rect(2, 3, 4, 5)");
  EXPECT_EQ((r + makeIntegerList({1, 1, 1, 1})).toString(), "rect(2, 3, 4, 5)");
  EXPECT_EQ((r + makePoint(10, 20)).toString(), "[11, 22]");
  EXPECT_EQ((r + makeList({Value(0.5)})).toString(), "[1.5000]");
  EXPECT_TRUE((r + Value::symbol(sym::rect)).isVoid());
  EXPECT_TRUE(r == makeRect(1, 2, 3, 4));
  EXPECT_TRUE(r < makeRect(1, 2, 3, 5));
  EXPECT_EQ(r.compare(makePoint(1, 2), false), kGreater);
  EXPECT_TRUE(makeIntegerList({1, 2, 3, 4}) == r);
}

TEST_F(GeometryTest, ColorsClampOnConstructionAndWrapOnSetting) {
  Value color = makeColor(Value::symbol(sym::rgb), Value(300), Value(-5), Value(16));
  EXPECT_EQ(color.toString(), "rgb( 255, 0, 16 )");
  EXPECT_TRUE(makeColor(Value::symbol(sym::paletteIndex), Value(1), Value(2), Value(3)).isVoid());
  EXPECT_TRUE(color.setProperty(sym::red, Value(300)));
  EXPECT_EQ(color.getProperty(sym::red).toInteger(), 44);
  EXPECT_FALSE(color.setProperty(sym::green, makeList({})));
  EXPECT_EQ(symbolOf(color.getProperty(sym::colorType)), sym::rgb);
  EXPECT_TRUE(color.setProperty(sym::colorType, Value(1)));
  EXPECT_EQ(colorOf(color)->rgb(), 0x2C0010u);

  EXPECT_TRUE(color.setProperty(sym::paletteIndex, Value(300)));
  EXPECT_EQ(color.toString(), "paletteIndex( 300 )");
  EXPECT_EQ(color.getProperty(sym::red).toInteger(), 0);
  EXPECT_EQ(symbolOf(color.getProperty(sym::colorType)), sym::paletteIndex);
  EXPECT_EQ(color.duplicate().toString(), "paletteIndex( 255 )");
  color.setProperty(sym::blue, Value(7));  // a channel makes it rgb again
  EXPECT_EQ(color.toString(), "rgb( 0, 0, 7 )");

  EXPECT_TRUE(makeRgb(1, 2, 3) == makeRgb(1, 2, 3));
  EXPECT_TRUE(makeRgb(10, 20, 30) > makeRgb(10, 19, 200));
  EXPECT_EQ(makeRgb(0, 0, 0).compare(makePaletteColor(0), false), kIncomparable);
  EXPECT_EQ(makePaletteColor(4).compare(makePaletteColor(4), false), kEqual);
  EXPECT_EQ(makePaletteColor(4).compare(makePaletteColor(5), false), kIncomparable);
  EXPECT_EQ((makeRgb(200, 10, 5) + makeRgb(100, 10, 5)).toString(), "rgb( 255, 20, 10 )");
  EXPECT_EQ((makeRgb(200, 10, 5) - makeRgb(100, 20, 5)).toString(), "rgb( 100, 0, 0 )");
  EXPECT_TRUE((makeRgb(1, 1, 1) + makePaletteColor(1)).isVoid());
  EXPECT_TRUE((makeRgb(1, 1, 1) + Value(1)).isVoid());
}

}  // namespace
}  // namespace qn

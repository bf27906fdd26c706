// Every method the script library's value types are documented to answer is bound in the type's
// table, with the argument count it takes where that count is fixed, and nothing more is bound.
#include "tests/script/listed_methods.h"

#include "script/color_object.h"
#include "script/int_list_object.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/prop_list_object.h"
#include "script/rect_object.h"
#include "script/string_object.h"
#include "script/symbol_prop_list_object.h"

namespace qn {
namespace {

using namespace testing;

TEST(MethodTables, BindEveryListedMethodWithItsArgumentCount) {
  const std::initializer_list<Listed> linearList = {
      {sym::add, one},       {sym::addAt, two},       {sym::append, one},    {sym::count, none},
      {sym::deleteAll, none}, {sym::deleteAt, one},   {sym::deleteProp, one}, {sym::deleteOne, one},
      {sym::duplicate, none}, {sym::findPos, one},    {sym::getOne, one},    {sym::getPos, one},
      {sym::findPosNear, one}, {sym::getAProp, one},  {sym::getAt, one},     {sym::getLast, unchecked},
      {sym::ilk, unchecked},  {sym::setAt, two},      {sym::sort, none},     {sym::min_, unchecked},
      {sym::max_, unchecked}};
  expectBindsExactly("list", ListObject::methods(), linearList);
  expectBindsExactly("intList", IntListObject::methods(), linearList);
  expectBindsExactly("symbol propList", SymbolPropListObject::methods(),
                     {{sym::addProp, two},     {sym::count, none},      {sym::deleteAll, none},   {sym::deleteProp, one},
                      {sym::deleteAt, one},    {sym::deleteOne, one},   {sym::getOne, one},       {sym::getPos, one},
                      {sym::setAt, two},       {sym::getLast, none},    {sym::sort, unchecked},   {sym::duplicate, none},
                      {sym::findPos, one},     {sym::findPosNear, one}, {sym::getAProp, one},     {sym::getProp, one},
                      {sym::getAt, one},       {sym::getPropAt, one},   {sym::ilk, unchecked},    {sym::setProp, two},
                      {sym::setAProp, two},    {sym::min_, unchecked},  {sym::max_, unchecked}});
  expectBindsExactly("propList", PropListObject::methods(),
                     {{sym::addProp, two},     {sym::count, none},      {sym::deleteAll, none},   {sym::deleteAt, one},
                      {sym::deleteOne, one},   {sym::deleteProp, one},  {sym::duplicate, none},   {sym::findPos, one},
                      {sym::findPosNear, one}, {sym::getAProp, one},    {sym::getProp, one},      {sym::getAt, one},
                      {sym::getLast, none},    {sym::getOne, one},      {sym::getPos, one},       {sym::getPropAt, one},
                      {sym::ilk, unchecked},   {sym::setAt, two},       {sym::setProp, two},      {sym::setAProp, two},
                      {sym::sort, unchecked},  {sym::min_, unchecked},  {sym::max_, unchecked}});
  expectBindsExactly("string", StringObject::methods(),
                     {{sym::ilk, unchecked},   {sym::concat, one},      {sym::contains, one},     {sym::starts, one},
                      {sym::offset, one},      {sym::putAfter, one},    {sym::putBefore, one},    {sym::char_, two},
                      {sym::chars, two},       {sym::length, none},     {sym::lineCount, unchecked},
                      {sym::itemCount, unchecked}, {sym::wordCount, unchecked},
                      {sym::getChunk, Arity::atLeast(3)},      {sym::setChunk, Arity::atLeast(4)},
                      {sym::delChunk, Arity::atLeast(3)},      {sym::putAfterChunk, Arity::atLeast(4)},
                      {sym::putBeforeChunk, Arity::atLeast(4)}});
  expectBindsExactly("point", PointObject::methods(),
                     {{sym::ilk, unchecked}, {sym::duplicate, none}, {sym::getAt, one}, {sym::setAt, two},
                      {sym::map, two}, {sym::inside, unchecked}});
  expectBindsExactly("rect", RectObject::methods(),
                     {{sym::ilk, unchecked}, {sym::duplicate, none}, {sym::getAt, one}, {sym::setAt, two},
                      {sym::intersect, one}, {sym::union_, one}, {sym::offset, unchecked}, {sym::inflate, two},
                      {sym::map, two}});
  expectBindsExactly("color", ColorObject::methods(), {{sym::ilk, unchecked}, {sym::hexString, unchecked}});
}

}  // namespace
}  // namespace qn

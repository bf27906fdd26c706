// The methods points and rects answer alike. `Shape` offers elementAt and setElementAt (positions
// from 1: x and y, or left, top, right and bottom), and mappedBetween, the shape carried from one
// rect onto another. Each type's table joins these with its own.
#pragma once

#include "script/method_table.h"
#include "script/rect_object.h"

namespace qn {

template <class Shape>
constexpr std::array<Method<Shape>, 5> commonGeometryMethods() {
  return {{
      {sym::ilk, Arity::any(), [](Shape& shape, const MethodCall& call) { call.answer = Value::symbol(shape.ilk()); }},
      {sym::duplicate, Arity::exactly(0),
       [](Shape& shape, const MethodCall& call) { call.answer = Value::adopt(shape.duplicate()); }},
      {sym::getAt, Arity::exactly(1),
       [](Shape& shape, const MethodCall& call) { call.answer = shape.elementAt(call[0].toInteger()); }},
      {sym::setAt, Arity::exactly(2),
       [](Shape& shape, const MethodCall& call) {
         shape.setElementAt(call[0].toInteger(), call[1]);
         call.answer = Value();
       }},
      // Both arguments rects, else void.
      {sym::map, Arity::exactly(2),
       [](Shape& shape, const MethodCall& call) {
         const RectObject* from = rectOf(call[0]);
         const RectObject* to = rectOf(call[1]);
         call.answer = from && to ? shape.mappedBetween(from->bounds(), to->bounds()) : Value();
       }},
  }};
}

}  // namespace qn

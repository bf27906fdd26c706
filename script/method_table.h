// How a script object answers its methods: one table per type, bound once, of
// {symbol, arity, function}, in the manner of the handler-call convention (`handle`).
//
//   - The table checks the argument count. A call whose count the method does not accept is not
//     handled, exactly as a method the type does not know: the function never runs.
//   - A function reads its arguments from the call (by reference: it may replace what a caller's
//     variable holds) and writes its answer there. Some types answer into the caller's result
//     directly, others into a local answer that starts as the type's starting value and reaches
//     the caller's result only at the end, because that result may be one of the arguments or
//     the only holder of the receiver.
//   - Methods are found through an index over the built-in vocabulary made when the table is
//     built, so a call costs no search.
//   - A table is made only by `bind`, only at compile time (consteval; the constructor is private,
//     since some compilers let a consteval constructor run at run time in a variable's direct
//     initialization), from an array of static storage, which it points into: a symbol bound
//     twice, or one outside the built-in vocabulary, does not compile, and neither does a table
//     of a temporary or local array, which would dangle.
#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "script/value.h"

namespace qn {

// The argument counts a method accepts.
class Arity {
 public:
  static constexpr Arity exactly(int count) { return Arity(count, count); }
  static constexpr Arity atLeast(int count) { return Arity(count, INT_MAX); }
  static constexpr Arity any() { return atLeast(0); }

  constexpr bool accepts(int argc) const { return argc >= least_ && argc <= most_; }
  friend constexpr bool operator==(Arity, Arity) = default;

 private:
  constexpr Arity(int least, int most) : least_(least), most_(most) {}
  int least_;
  int most_;
};

// One call of a method. Arguments within the method's arity are there to read; `orVoid` reads
// one that may be missing.
struct MethodCall {
  int argc;
  Value* const* argv;
  Value& answer;

  Value& operator[](int index) const { return *argv[index]; }
  Value orVoid(int index) const { return index < argc ? *argv[index] : Value(); }
};

// A method of `Receiver`. Its function answers nothing when the method is handled whenever its
// argument count fits, or whether it handled the call when it also depends on the arguments
// (`Outcome` bool: the image methods, which need a rect or a point to work on).
template <class Receiver, class Outcome = void>
struct Method {
  SymbolNumber symbol;
  Arity arity;
  Outcome (*run)(Receiver& receiver, const MethodCall& call);
};

namespace detail {
template <class Entry, size_t First, size_t Second, size_t... I, size_t... J>
constexpr std::array<Entry, First + Second> joinMethods(const std::array<Entry, First>& first,
                                                        const std::array<Entry, Second>& second,
                                                        std::index_sequence<I...>, std::index_sequence<J...>) {
  return {{first[I]..., second[J]...}};
}
}  // namespace detail

// Two parts of a table as one, for a type whose methods are partly shared with another type.
template <class Entry, size_t First, size_t Second>
constexpr std::array<Entry, First + Second> joinMethods(const std::array<Entry, First>& first,
                                                        const std::array<Entry, Second>& second) {
  return detail::joinMethods(first, second, std::make_index_sequence<First>(), std::make_index_sequence<Second>());
}

namespace detail {
// Not a constant expression: reached only while building a table that binds a symbol twice or
// binds one outside the built-in vocabulary, which stops the build.
inline void methodTableIsInvalid() {}
}  // namespace detail

template <class Receiver, class Outcome = void>
class MethodTable {
 public:
  using Entry = Method<Receiver, Outcome>;

  // The table of `methods`, made at compile time only.
  template <size_t N>
  static consteval MethodTable bind(const std::array<Entry, N>& methods) {
    return MethodTable(methods);
  }

  // The method bound to a symbol, or null.
  constexpr const Entry* find(SymbolNumber symbol) const {
    if (symbol < sym::firstBuiltin || symbol > sym::lastBuiltin) return nullptr;
    const uint8_t position = index_[slotOf(symbol)];
    return position == 0 ? nullptr : &methods_[position - 1];
  }
  size_t size() const { return count_; }
  const Entry* begin() const { return methods_; }
  const Entry* end() const { return methods_ + count_; }

  // Runs the method with the caller's result as the answer; whether it was handled.
  bool answer(Receiver& receiver, SymbolNumber method, int argc, Value* const* argv, Value& result) const {
    const Entry* entry = find(method);
    if (entry == nullptr || !entry->arity.accepts(argc)) return false;
    const MethodCall call{argc, argv, result};
    if constexpr (std::is_void_v<Outcome>) {
      entry->run(receiver, call);
      return true;
    } else {
      return entry->run(receiver, call);
    }
  }

  // The same with a local answer that starts as `startingAnswer` and goes into `result` at the
  // end, handled or not.
  bool answerFrom(const Value& startingAnswer, Receiver& receiver, SymbolNumber method, int argc,
                  Value* const* argv, Value& result) const {
    Value answered = startingAnswer;
    const bool handled = answer(receiver, method, argc, argv, answered);
    result = std::move(answered);
    return handled;
  }

 private:
  template <size_t N>
  consteval explicit MethodTable(const std::array<Entry, N>& methods) : methods_(methods.data()), count_(N) {
    static_assert(N < UINT8_MAX, "positions fit the index");
    for (size_t i = 0; i < N; ++i) {
      const SymbolNumber symbol = methods[i].symbol;
      if (symbol < sym::firstBuiltin || symbol > sym::lastBuiltin || index_[slotOf(symbol)] != 0)
        detail::methodTableIsInvalid();
      index_[slotOf(symbol)] = static_cast<uint8_t>(i + 1);
    }
  }

  static constexpr size_t slotOf(SymbolNumber symbol) { return static_cast<size_t>(symbol - sym::firstBuiltin); }

  const Entry* methods_;
  size_t count_;
  std::array<uint8_t, sym::lastBuiltin - sym::firstBuiltin + 1> index_{};
};

}  // namespace qn

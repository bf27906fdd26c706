#include "cast/cast_member_base.h"

#include "cast/cast.h"
#include "engine/movie.h"
#include "script/report_error.h"
#include "script/symbol_object.h"

namespace qn {

void CastMemberBase::touch() { lastUsed_ = cast_.tickTime(); }

void CastMemberBase::markModified() {
  modified_ = true;
  updateSprites();
}

void CastMemberBase::updateSprites() const {
  if (Movie* movie = cast_.movie()) movie->updateSpritesShowing(*this);
}

void CastMemberBase::reportLoadFailure(LoadFailure failure) {
  if (!isDamage(failure) || loadFailureReported_) return;
  loadFailureReported_ = true;
  reportError("member " + std::to_string(number()) + " of castLib " + std::to_string(castLib()) + " (\"" + name_ +
              "\") not loaded: " + std::string(describe(failure)));
}

void CastMemberBase::toString(std::string& out) const {
  out += "(member " + std::to_string(number()) + " of castLib " + std::to_string(castLib()) + ")";
}

// Members are shared, never copied.
ScriptObject* CastMemberBase::duplicate() {
  retain();
  return this;
}

int CastMemberBase::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  const CastMember* member = castMemberOf(other);
  return member && member->castLib() == castLib() && member->number() == number() ? kEqual : kIncomparable;
}

bool CastMemberBase::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answer(*this, method, argc, argv, result);
}

const MethodTable<CastMemberBase>& CastMemberBase::methods() {
  static constexpr auto kMethods = std::to_array<Method<CastMemberBase>>({
      {sym::ilk, Arity::any(), [](CastMemberBase&, const MethodCall& call) { call.answer = Value::symbol(sym::member); }},
      {sym::preload, Arity::any(),
       [](CastMemberBase& member, const MethodCall& call) { call.answer = member.load() ? sharedOne : sharedZero; }},
      {sym::unload, Arity::any(),
       [](CastMemberBase& member, const MethodCall& call) { call.answer = member.unload(false) ? sharedOne : sharedZero; }},
  });
  static constexpr auto kTable = MethodTable<CastMemberBase>::bind(kMethods);
  return kTable;
}

void CastMemberBase::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::castLibNum: result = Value(castLib()); return;
    case sym::memberNum: result = Value(number()); return;
    case sym::number: result = Value(castLib() == 1 ? number() : castLib() * 65536 + number()); return;
    case sym::name: result = Value(name_); return;
    case sym::type: result = Value::symbol(type()); return;
    case sym::ilk: result = Value::symbol(sym::member); return;
    case sym::loaded: result = loaded_ ? sharedOne : sharedZero; return;
    case sym::modified: result = modified_ ? sharedOne : sharedZero; return;
    case sym::size: result = Value(sizeEstimate()); return;
    default: result = Value(); return;
  }
}

bool CastMemberBase::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::name:
      if (!value.is(sym::string)) return false;
      cast_.rename(*this, stringOf(value));
      return true;
    case sym::modified:
      if (value.toInteger() != 0) markModified();
      return true;
    default: return false;
  }
}

bool CastMemberBase::load() {
  loaded_ = true;
  return true;
}

bool CastMemberBase::unload(bool) {
  loaded_ = false;
  return true;
}

CastMemberBase* memberBaseOf(const Value& value) { return dynamic_cast<CastMemberBase*>(castMemberOf(value)); }

}  // namespace qn

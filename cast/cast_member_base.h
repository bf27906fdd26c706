// What every member of our cast keeps beyond the engine's view of it: its name, the loaded and
// modified flags, the time of last use, and the cast it belongs to. Also the behaviour all
// member classes share: the text "(member n of castLib c)", identity comparison, `preload` and
// `unload`, and the common properties.
//
// Invariants: a modified member is never unloaded unless forced, a held one never purged;
// `lastUsed` starts at the smallest value but one, so members never touched go first when memory
// is purged.
#pragma once

#include <cstdint>
#include <string>

#include "cast/load_failure.h"
#include "engine/cast_member.h"
#include "script/method_table.h"

namespace qn {

class Cast;

inline constexpr int32_t kNeverUsed = static_cast<int32_t>(0x80000001);

class CastMemberBase : public CastMember {
 public:
  CastMemberBase(Cast& cast, SymbolNumber type, int32_t number, int32_t castLib, std::string name)
      : CastMember(type, number, castLib), cast_(cast), name_(std::move(name)) {}

  Cast& cast() const { return cast_; }
  const std::string& name() const { return name_; }
  bool loaded() const { return loaded_; }
  bool modified() const { return modified_; }
  // Whether a MemberHold keeps the member from being purged now.
  bool held() const { return holds_ > 0; }
  int32_t lastUsed() const { return lastUsed_; }
  // Marks the member used at the current tick (drawn, or its image asked for).
  void touch();
  // Content changed by a script: pins the member and redraws the sprites that show it.
  void markModified();
  // Every sprite that shows the member recomputes and redraws.
  void updateSprites() const;
  // Says why the member's media did not load, once per member, in the debug log (and so on
  // standard error): "member 12 of castLib 1 ("ball") not loaded: bad zlib stream".
  void reportLoadFailure(LoadFailure failure);

  // ScriptObject
  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  // The methods every member answers: ilk, preload and unload.
  static const MethodTable<CastMemberBase>& methods();
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

  // CastMember
  bool load() override;
  bool unload(bool force) override;

 protected:
  void setLoaded(bool loaded) { loaded_ = loaded; }
  void setModified(bool modified) { modified_ = modified; }
  // True when a non-forced unload must leave the member as it is.
  bool keepsContent(bool force) const { return modified_ && !force; }

 private:
  friend class Cast;  // renames go through the cast's name index
  friend class MemberHold;

  Cast& cast_;
  std::string name_;
  bool loaded_ = false;
  bool modified_ = false;
  bool loadFailureReported_ = false;
  int32_t lastUsed_ = kNeverUsed;
  int32_t holds_ = 0;
};

// The member of our cast a value holds, or null.
CastMemberBase* memberBaseOf(const Value& value);

}  // namespace qn

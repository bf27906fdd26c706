#include "cast/cast.h"

#include <algorithm>
#include <cctype>

#include "cast/bitmap_member.h"
#include "cast/empty_member.h"
#include "cast/field_member.h"
#include "cast/member_hold.h"
#include "cast/scaled_media_set.h"
#include "cast/scaled_set_arrival.h"
#include "cast/script_member.h"
#include "cast/sound_member.h"
#include "engine/movie.h"
#include "engine/sprite_ref.h"
#include "gfx/purge_service.h"
#include "script/report_error.h"
#include "script/string_object.h"

namespace qn {

namespace {

constexpr int32_t kMembersPerLibrary = 65536;
constexpr int32_t kLargestKey = INT32_MAX;

}  // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

namespace {

// The cast whose members image allocations purge when they fail: the latest one made.
Cast* purgingCast = nullptr;

}  // namespace

Cast::Cast(MediaFile& media) : media_(media) {
  media_.setPurge([this](size_t bytes) { purgeMembers(static_cast<int64_t>(std::min<uint64_t>(bytes, INT64_MAX))); });
  purgingCast = this;
  setPurgeService([this](uint64_t bytes) { purgeMembers(static_cast<int64_t>(std::min<uint64_t>(bytes, INT64_MAX))); });
}

// Members and their images, and script members and their objects, point at each other: those
// cycles are broken before the table lets its members go.
Cast::~Cast() {
  if (purgingCast == this) {
    purgingCast = nullptr;
    setPurgeService({});
  }
  media_.setPurge(nullptr);
  for (auto& [key, value] : members_) {
    if (auto* script = dynamic_cast<ScriptMember*>(value.object())) script->forgetScript();
    castMemberOf(value)->unload(true);
  }
}

// The movie keeps its tick's clock reading to itself; within a tick the clock reads the same
// closely enough for choosing the least recently used member.
int32_t Cast::tickTime() const { return movie_ ? movie_->tickTime() : 0; }
bool Cast::prefer565() const { return movie_ && movie_->prefer565(); }
int32_t Cast::colorDepth(int32_t fallback) const { return movie_ ? movie_->colorDepth() : fallback; }

bool Cast::add(CastMemberBase* member) {
  Value held = Value::adopt(member);
  if (!members_.emplace(member->key(), held).second) {
    if (auto* script = dynamic_cast<ScriptMember*>(member)) script->forgetScript();
    return false;
  }
  names_.emplace(member->name(), member);
  return true;
}

void Cast::createMembers(const CastRows& rows) {
  for (const BitmapRow& row : rows.bitmaps) add(new BitmapMember(*this, row));
  for (const FieldRow& row : rows.fields) add(new FieldMember(*this, row));
  for (const SoundRow& row : rows.sounds) add(new SoundMember(*this, row));
  for (const ScriptRow& row : rows.scripts)
    add(new ScriptMember(*this, row.number, row.castLib, row.kind, row.name ? row.name : ""));
}

bool Cast::purgeMembers(int64_t bytes) {
  int64_t freed = 0;
  while (freed < bytes) {
    CastMemberBase* oldest = nullptr;
    for (auto& [key, value] : members_) {
      auto* member = static_cast<CastMemberBase*>(value.object());
      if (member->held() || !member->loaded() || member->modified() || member->sizeEstimate() == 0) continue;
      if (!oldest || member->lastUsed() < oldest->lastUsed()) oldest = member;
    }
    if (!oldest) break;
    freed += oldest->sizeEstimate();
    oldest->unload(false);
  }
  return freed > bytes;
}

void Cast::keepWithinBudget(CastMemberBase& grown) {
  const MemberHold hold(grown);
  int64_t loaded = 0;
  for (auto& [key, value] : members_) {
    auto* member = static_cast<CastMemberBase*>(value.object());
    if (member->loaded()) loaded += member->sizeEstimate();
  }
  if (loaded > decodedBudget_) purgeMembers(loaded - decodedBudget_);
}

namespace {

bool isFinerScale(int32_t scale) { return scale >= 2 && scale <= kLargestPresentationScale; }

}  // namespace

bool Cast::attachScaledMedia(int32_t scale, std::unique_ptr<MediaFile> media, std::string_view name) {
  std::unique_ptr<ScaledMediaSet> set = readScaledMedia(scale, std::move(media), name);
  if (!set) return false;
  attachScaledMedia(std::move(set));
  return true;
}

std::unique_ptr<ScaledMediaSet> Cast::readScaledMedia(int32_t scale, std::unique_ptr<MediaFile> media,
                                                      std::string_view name) {
  std::string problem = "there are no sets of scale " + std::to_string(scale);
  std::unique_ptr<ScaledMediaSet> set;
  media->setPurge(media_.purge());  // its pictures make room as the movie's own do
  if (isFinerScale(scale) && (set = ScaledMediaSet::read(std::move(media), problem))) problem = scaledSetProblem(*set, scale);
  if (problem.empty()) return set;
  reportError("media set " + std::string(name) + " not used: " + problem);
  return nullptr;
}

void Cast::attachScaledMedia(std::unique_ptr<ScaledMediaSet> set) {
  const int32_t scale = set->scale();
  scaledSetSought_[scale - 2] = true;
  scaledSets_[scale - 2] = std::move(set);
  scaledMediaChanged();
}

std::string Cast::scaledSetProblem(const ScaledMediaSet& set, int32_t scale) const {
  const ScaledSetTable& table = set.table();
  if (table.scale != scale) return "it is the set of " + std::to_string(table.scale) + "x";
  if (!media_.data() || table.baseLength != media_.length() ||
      table.baseCrc != mediaIdentity(media_.data(), media_.length()))
    return "it was made for other media than the movie's";
  for (const ScaledPicture& picture : table.pictures) {
    auto* member = dynamic_cast<BitmapMember*>(find(picture.memberKey));
    if (!member) return "member key " + std::to_string(picture.memberKey) + " is no bitmap of the cast";
    std::string problem = member->scaledPictureProblem(picture, scale);
    if (!problem.empty()) return problem;
  }
  return "";
}

const ScaledMediaSet* Cast::scaledMedia(int32_t scale) {
  if (!isFinerScale(scale)) return nullptr;
  if (!scaledSetSought_[scale - 2] && !media_.name().empty()) {
    scaledSetSought_[scale - 2] = true;
    auto media = std::make_unique<MediaFile>();
    media->bind(media_.name(), scale);
    const std::string name = scaledMediaFileName(media_.name(), scale);
    if (media->isBound())
      attachScaledMedia(scale, std::move(media), name);
    else
      reportError("no media set " + name + ": the pictures at " + std::to_string(scale) + "x are enlarged smoothly");
  }
  return scaledSets_[scale - 2].get();
}

std::unique_ptr<ScaledSetArrival> Cast::scaledMediaArrival(int32_t scale) {
  if (!isFinerScale(scale) || media_.name().empty()) return nullptr;
  auto media = std::make_unique<MediaFile>();
  media->bind(media_.name(), scale);
  const std::string name = scaledMediaFileName(media_.name(), scale);
  if (!media->isBound()) {
    reportError("no media set " + name + " arrived");
    return nullptr;
  }
  std::unique_ptr<ScaledMediaSet> set = readScaledMedia(scale, std::move(media), name);
  return set ? std::make_unique<ScaledSetArrival>(*this, std::move(set)) : nullptr;
}

std::vector<int32_t> Cast::membersDrawnAt(int32_t scale) const {
  std::vector<int32_t> keys;
  for (const auto& [key, value] : members_)
    if (auto* bitmap = dynamic_cast<BitmapMember*>(value.object()); bitmap && bitmap->drawnAt(scale)) keys.push_back(key);
  return keys;
}

void Cast::scaledMediaChanged() {
  ++pictureGeneration_;
  for (auto& [key, value] : members_)
    if (auto* bitmap = dynamic_cast<BitmapMember*>(value.object())) bitmap->dropScaledPicture();
}

// The member's own entry moves: renaming one member never unindexes another of the same name.
void Cast::rename(CastMemberBase& member, std::string name) {
  auto [first, last] = names_.equal_range(member.name_);
  for (auto entry = first; entry != last; ++entry) {
    if (entry->second == &member) {
      names_.erase(entry);
      break;
    }
  }
  member.name_ = std::move(name);
  names_.emplace(member.name_, &member);
}

int32_t Cast::firstFreeKey(int32_t key) const {
  for (auto stored = members_.lower_bound(key); key <= kLargestKey; ++key, ++stored)
    if (stored == members_.end() || stored->first != key) return key;
  return -1;
}

CastMember* Cast::find(int32_t key) const {
  auto found = members_.find(key);
  return found == members_.end() ? nullptr : castMemberOf(found->second);
}

CastMember* Cast::findByName(std::string_view name) const {
  auto found = names_.find(name);
  return found == names_.end() ? nullptr : found->second;
}

Value Cast::emptyMember(int32_t number, int32_t castLib) {
  return Value::adopt(new EmptyMember(*this, number, castLib));
}

Value Cast::memberOf(const Value& designator) {
  auto byNumber = [&](int32_t number) {
    CastMember* member = find(memberKey(number, 1));
    return member ? Value::share(member) : emptyMember(number, 1);
  };
  switch (designator.ilk()) {
    case sym::integer:
    case sym::float_: return byNumber(designator.toInteger());
    case sym::string: {
      CastMember* member = findByName(stringObjectOf(designator)->text());
      return member ? Value::share(member) : emptyMember(-1, 1);
    }
    case sym::sprite: return byNumber(static_cast<const SpriteRef*>(designator.object())->channel());
    case sym::intSprite: return byNumber(static_cast<const SpriteChannel*>(designator.object())->channel());
    case sym::member: return designator;
    default: return emptyMember(-1, 1);
  }
}

Value Cast::newBitmapMember(const Value* where, int32_t depth) {
  int32_t key = -1;
  if (where && where->is(sym::member)) {
    const CastMember* named = castMemberOf(*where);
    key = named->number() != 0 ? memberKey(named->number(), named->castLib())
                               : firstFreeKey(memberKey(1, named->castLib()));
  } else if (where && where->is(sym::integer) && where->toInteger() >= 1) {
    key = firstFreeKey(memberKey(1, where->toInteger()));
  } else {
    key = firstFreeKey(memberKey(1, 1));
  }
  if (key < 1) return Value();
  int32_t castLib = key / kMembersPerLibrary + 1, number = key % kMembersPerLibrary;
  auto* member = new BitmapMember(*this, number, castLib, depth);
  Value result = Value::share(member);
  return add(member) ? result : Value();
}

void Cast::unloadAll(bool force) {
  for (auto& [key, value] : members_) castMemberOf(value)->unload(force);
}

}  // namespace qn

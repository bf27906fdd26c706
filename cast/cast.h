// The movie's cast: the member table in member-key order (the cast order) and the name index,
// which compares names ignoring letter case and holds every member, several under one name when
// they share it; a lookup by name finds the earliest entered. The cast also frees memory under
// pressure by unloading the least recently used members, and it is what members reach the media
// binding and the running movie through.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cast/cast_rows.h"
#include "cast/media_file.h"
#include "cast/scaled_media_format.h"
#include "engine/cast_table.h"

namespace qn {

class CastMemberBase;
class Movie;
class ScaledMediaSet;
class ScaledSetArrival;
class SoundMixer;

struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

class Cast final : public CastTable {
 public:
  explicit Cast(MediaFile& media);
  ~Cast() override;
  Cast(const Cast&) = delete;
  Cast& operator=(const Cast&) = delete;

  // The movie whose clock, options, sprites and script factory the members use. Set before any
  // member is created; members made without a movie (tools, tests) see a clock at 0.
  void attach(Movie* movie) { movie_ = movie; }
  Movie* movie() const { return movie_; }
  // The mixer that sound members decode for and play on; none in tools and tests.
  void attachMixer(SoundMixer* mixer) { mixer_ = mixer; }
  SoundMixer* mixer() const { return mixer_; }
  MediaFile& media() const { return media_; }
  // The movie's time of the current tick, for `lastUsed`.
  int32_t tickTime() const;
  bool prefer565() const;
  // The movie's colour depth (the display's pixel format), or `fallback` without a movie.
  int32_t colorDepth(int32_t fallback) const;

  // Stores a new member (taking over its count); false, and the member released, when its key
  // is taken already.
  bool add(CastMemberBase* member);
  // Creates every member of the rows, kind by kind: bitmaps, fields, sounds, scripts.
  void createMembers(const CastRows& rows);
  // Unloads least recently used members (loaded, not modified, not held, with a size estimate)
  // until at least `bytes` were counted as freed; true when more than `bytes` were.
  bool purgeMembers(int64_t bytes);
  // Purges least recently used members, `grown` apart, until the size estimates of the loaded
  // members add up to no more than the decoded budget (kDecodedBudget unless set otherwise).
  // Called whenever a member took in a decoded picture: its image, a finer picture, a copy of it.
  // Every picture of the game at 4x and at its own size takes 41 MB and so stays; the budget
  // bounds what pictures may hold at all, which keeps a 4x run within 120 MB resident.
  void keepWithinBudget(CastMemberBase& grown);
  static constexpr int64_t kDecodedBudget = int64_t{64} << 20;
  void setDecodedBudget(int64_t bytes) { decodedBudget_ = bytes; }

  // The finer media sets of presentation scales 2 to 4 (scaled_media_format.h). Attaching one
  // from `media` (embedded, a mapped file or bytes handed over; the cast keeps it bound while the
  // set is attached) replaces the scale's set and drops the finer pictures members made. A set
  // that cannot be read, is of another scale, was made for other media than the movie's, or
  // whose pictures are not `scale` times the members' is refused: false, one line in the debug
  // log naming `name`, and the scale keeps the set it had.
  bool attachScaledMedia(int32_t scale, std::unique_ptr<MediaFile> media, std::string_view name);
  // The same in two halves: the set read and checked (null when refused, the line said), then
  // attached.
  std::unique_ptr<ScaledMediaSet> readScaledMedia(int32_t scale, std::unique_ptr<MediaFile> media, std::string_view name);
  void attachScaledMedia(std::unique_ptr<ScaledMediaSet> set);
  // The set of `scale`, looked for when first asked where the movie's media was found (embedded
  // in the program, else the file named after it beside the program; one line in the debug log
  // when there is none); null without one.
  const ScaledMediaSet* scaledMedia(int32_t scale);
  // The set of `scale` put beside the media file since the program started (the browser's page
  // downloads the sets later), read and checked, to be attached once the pictures it has for the
  // members drawn now are decoded (scaled_set_arrival.h); null when there is none or it is
  // refused (a line in the debug log).
  std::unique_ptr<ScaledSetArrival> scaledMediaArrival(int32_t scale);
  // The bitmap members that show a finer picture at `scale` now.
  std::vector<int32_t> membersDrawnAt(int32_t scale) const;
  // CastTable: counts the attaches of finer sets, each of which changes the pictures shown at
  // finer scales.
  uint32_t pictureGeneration() const override { return pictureGeneration_; }
  // Moves a member's name index entry to its new name.
  void rename(CastMemberBase& member, std::string name);
  // The first free member key from `key` upward, or -1.
  int32_t firstFreeKey(int32_t key) const;
  const std::map<int32_t, Value>& members() const { return members_; }

  // CastTable
  CastMember* find(int32_t key) const override;
  CastMember* findByName(std::string_view name) const override;
  Value memberOf(const Value& designator) override;
  Value emptyMember(int32_t number, int32_t castLib) override;
  Value newBitmapMember(const Value* where, int32_t depth) override;
  void unloadAll(bool force) override;

 private:
  MediaFile& media_;
  Movie* movie_ = nullptr;
  SoundMixer* mixer_ = nullptr;
  std::map<int32_t, Value> members_;                                            // by member key
  std::multimap<std::string, CastMemberBase*, CaseInsensitiveLess> names_;  // equal names in entry order
  // By scale - 2; `sought` once the place of the movie's media was looked at for that scale.
  std::array<std::unique_ptr<ScaledMediaSet>, kLargestPresentationScale - 1> scaledSets_;
  std::array<bool, kLargestPresentationScale - 1> scaledSetSought_{};
  uint32_t pictureGeneration_ = 0;
  int64_t decodedBudget_ = kDecodedBudget;

  // Why a set that reads does not belong to this movie at `scale`, or empty.
  std::string scaledSetProblem(const ScaledMediaSet& set, int32_t scale) const;
  void scaledMediaChanged();
};

}  // namespace qn

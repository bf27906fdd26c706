#include "cast/scaled_set_arrival.h"

#include "cast/bitmap_member.h"
#include "cast/cast.h"
#include "cast/scaled_media_set.h"

namespace qn {

ScaledSetArrival::ScaledSetArrival(Cast& cast, std::unique_ptr<ScaledMediaSet> set)
    : cast_(cast), set_(std::move(set)), members_(cast.membersDrawnAt(set_->scale())) {}

ScaledSetArrival::~ScaledSetArrival() = default;

int32_t ScaledSetArrival::scale() const { return set_->scale(); }

bool ScaledSetArrival::step() {
  if (next_ == members_.size()) return false;
  const int32_t key = members_[next_++];
  if (auto* member = dynamic_cast<BitmapMember*>(cast_.find(key)))
    if (Value picture = member->pictureReadyFrom(*set_); !picture.isVoid()) decoded_.emplace_back(key, std::move(picture));
  return next_ < members_.size();
}

void ScaledSetArrival::finish() {
  const int32_t scale = set_->scale();
  cast_.attachScaledMedia(std::move(set_));
  for (auto& [key, picture] : decoded_)
    if (auto* member = dynamic_cast<BitmapMember*>(cast_.find(key))) member->takeScaledPicture(scale, std::move(picture));
  decoded_.clear();
}

}  // namespace qn

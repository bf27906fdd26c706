#include "cast/scaled_media_set.h"

#include <algorithm>

namespace qn {

std::unique_ptr<ScaledMediaSet> ScaledMediaSet::read(std::unique_ptr<MediaFile> media, std::string& problem) {
  ScaledSetTable table;
  if (!media || !readScaledSetTable(media->data(), media->length(), table, problem)) return nullptr;
  return std::unique_ptr<ScaledMediaSet>(new ScaledMediaSet(std::move(media), std::move(table)));
}

const ScaledPicture* ScaledMediaSet::find(int32_t memberKey) const {
  const std::vector<ScaledPicture>& pictures = table_.pictures;
  auto found = std::lower_bound(pictures.begin(), pictures.end(), memberKey,
                                [](const ScaledPicture& picture, int32_t key) { return picture.memberKey < key; });
  return found != pictures.end() && found->memberKey == memberKey ? &*found : nullptr;
}

}  // namespace qn

// How sound decoding asks the cast to free memory: unload members until about `bytes` bytes
// are freed. An empty function stands for a program without a cast.
#pragma once

#include <cstddef>
#include <functional>

namespace qn {

using PurgeMembers = std::function<void(size_t bytes)>;

inline void purgeIfAble(const PurgeMembers& purge, size_t bytes) {
  if (purge) purge(bytes);
}

}  // namespace qn

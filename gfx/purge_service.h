// Large pixel allocations that fail ask the media layer to drop decoded members and try once
// more. The cast installs its purge service at start; without one the retry finds nothing freed.
#pragma once

#include <cstdint>

namespace qn {

using PurgeService = void (*)(uint64_t bytesWanted);
void setPurgeService(PurgeService service);  // nullptr removes it
void purgeForAllocation(uint64_t bytesWanted);

}  // namespace qn

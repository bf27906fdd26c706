#include "platform/page_notice.h"

namespace qn::platform {

// A window on the desktop has no page around it.
void tellPage(std::string_view, uint32_t) {}

}  // namespace qn::platform

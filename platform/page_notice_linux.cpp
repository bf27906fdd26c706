#include "platform/page_notice.h"

namespace qn::platform {

// A window on the desktop has no page around it.
bool tellPage(std::string_view, uint32_t) { return false; }

}  // namespace qn::platform

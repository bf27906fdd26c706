#include "shell/page_notices.h"

#include "platform/page_notice.h"

namespace qn {

void PageNotices::endFinished(const game::EndFinished&) { platform::tellPage("end", frame_()); }

}  // namespace qn

#include <emscripten.h>

#include <string>

#include "platform/page_notice.h"

namespace qn::platform {

namespace {

EM_JS(void, noticeToPage, (const char* what, uint32_t value), {
  if (Module.onProgramNotice) Module.onProgramNotice(UTF8ToString(what), value);
});

}  // namespace

void tellPage(std::string_view what, uint32_t value) { noticeToPage(std::string(what).c_str(), value); }

}  // namespace qn::platform

#include <emscripten.h>

#include <string>

#include "platform/page_notice.h"

namespace qn::platform {

namespace {

EM_JS(int, noticeToPage, (const char* what, uint32_t value), {
  if (!Module.onProgramNotice) return 0;
  Module.onProgramNotice(UTF8ToString(what), value);
  return 1;
});

}  // namespace

bool tellPage(std::string_view what, uint32_t value) { return noticeToPage(std::string(what).c_str(), value) != 0; }

}  // namespace qn::platform

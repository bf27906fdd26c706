#include <emscripten.h>

#include <string>

#include "platform/platform.h"
#include "platform/window_message_box.h"

namespace qn::platform {

namespace {

EM_JS(void, showOnPage, (const char* caption, const char* text), {
  if (Module.showMessage) Module.showMessage(UTF8ToString(caption), UTF8ToString(text));
});

// The page shows the box's text over the game; the console gets the same line as without a
// window. Nothing may block the page, so the safe answer is taken.
MessageBoxAnswer showPageMessage(std::string_view text, std::string_view caption, MessageBoxButtons buttons) {
  showOnPage(std::string(caption).c_str(), std::string(text).c_str());
  return consoleMessageBox(text, caption, buttons);
}

}  // namespace

void installWindowMessageBox(const MainWindow*) { setMessageBoxHandler(showPageMessage); }

void uninstallWindowMessageBox() { setMessageBoxHandler(nullptr); }

}  // namespace qn::platform

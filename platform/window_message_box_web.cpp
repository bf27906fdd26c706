#include <emscripten.h>

#include <string>

#include "platform/platform.h"
#include "platform/window_message_box.h"

namespace qn::platform {

namespace {

// The page shows the box's text over the game (Module.showMessage); the console gets the same
// line as without a window. Nothing may block the page, so the safe answer is taken.
MessageBoxAnswer showPageMessage(std::string_view text, std::string_view caption, MessageBoxButtons buttons) {
  const std::string shownText(text), shownCaption(caption);
  EM_ASM({ if (Module.showMessage) Module.showMessage(UTF8ToString($0), UTF8ToString($1)); }, shownCaption.c_str(),
         shownText.c_str());
  return consoleMessageBox(text, caption, buttons);
}

}  // namespace

void installWindowMessageBox(const MainWindow*) { setMessageBoxHandler(showPageMessage); }

void uninstallWindowMessageBox() { setMessageBoxHandler(nullptr); }

}  // namespace qn::platform

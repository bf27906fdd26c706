// Message boxes once the program has a window: modal boxes over it on the desktop, a message on
// the page (and in the console) in the browser, where nothing may block the page and the safe
// answer is taken.
#pragma once

namespace qn::platform {

class MainWindow;

// Routes messageBox to boxes owned by `owner` (which may be null: a box of its own). Safe to call
// again; uninstallWindowMessageBox restores the console form.
void installWindowMessageBox(const MainWindow* owner);
void uninstallWindowMessageBox();

}  // namespace qn::platform

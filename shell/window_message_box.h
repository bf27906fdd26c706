// Message boxes on the desktop: modal SDL message boxes over the main window.
#pragma once

#include <SDL.h>

namespace qn {

// Routes platform::messageBox to SDL message boxes owned by `owner` (which may be null: a box
// of its own). nullptr-safe to call again; uninstallWindowMessageBox restores the console form.
void installWindowMessageBox(SDL_Window* owner);
void uninstallWindowMessageBox();

}  // namespace qn

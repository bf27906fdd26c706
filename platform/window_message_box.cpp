#include "platform/window_message_box.h"

#include <SDL.h>

#include <string>

#include "platform/main_window.h"
#include "platform/platform.h"

namespace qn::platform {

namespace {

const MainWindow* ownerWindow = nullptr;

MessageBoxAnswer showWindowMessageBox(std::string_view text, std::string_view caption, MessageBoxButtons buttons) {
  const bool question = buttons == MessageBoxButtons::yesNo;
  const SDL_MessageBoxButtonData yesNo[] = {
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, static_cast<int>(MessageBoxAnswer::no), "No"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, static_cast<int>(MessageBoxAnswer::yes), "Yes"}};
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
       static_cast<int>(MessageBoxAnswer::ok), "OK"}};
  std::string message(text), title(caption);
  SDL_MessageBoxData box{question ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
                         ownerWindow ? ownerWindow->window() : nullptr,
                         title.c_str(),
                         message.c_str(),
                         question ? 2 : 1,
                         question ? yesNo : ok,
                         nullptr};
  int chosen = -1;
  if (SDL_ShowMessageBox(&box, &chosen) == 0 && chosen >= 0) return static_cast<MessageBoxAnswer>(chosen);
  // No box could be shown (or it was closed without a button): the console takes the safe answer.
  return consoleMessageBox(text, caption, buttons);
}

}  // namespace

void installWindowMessageBox(const MainWindow* owner) {
  ownerWindow = owner;
  setMessageBoxHandler(showWindowMessageBox);
}

void uninstallWindowMessageBox() {
  ownerWindow = nullptr;
  setMessageBoxHandler(nullptr);
}

}  // namespace qn::platform

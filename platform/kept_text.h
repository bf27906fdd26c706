// A short text the program keeps for the person between runs: on the desktop a file in the XDG
// state folder ($XDG_STATE_HOME, else ~/.local/state, then "<name>/state"), in the browser the
// page's local storage under "<name>". A store replaces the old text whole or not at all: the
// file is written aside and renamed over the old one, so a crash or a full disk in the middle
// leaves the previous text, and two writers at once leave one of the two texts, never a mix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qn::platform {

struct KeptTextRead {
  std::optional<std::string> text;  // nothing when nothing was kept yet or it could not be read
  std::string problem;              // why it could not be read; empty when all went well
};

// Only a regular file is read: anything else under the name (a FIFO, a device) is refused at once.
KeptTextRead readKeptText(std::string_view name);
// Removes what stores cut short by a crash left behind (files written aside but never renamed).
void clearStaleKeptTexts(std::string_view name);
// The problem, or empty when the text was stored.
std::string storeKeptText(std::string_view name, std::string_view text);

}  // namespace qn::platform

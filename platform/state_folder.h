// The desktop's folder for what the program keeps between runs: $XDG_STATE_HOME, else
// ~/.local/state (the person's kept texts, the rooms of a room server).
#pragma once

#include <string>

namespace qn::platform {

// The folder, or empty when there is no home to put it in.
std::string stateFolder();
// Makes every missing folder of `path` (readable by the owner only); false (errno set) when one
// cannot be made.
bool makeFolders(const std::string& path);

}  // namespace qn::platform

#include "platform/font_lookup.h"

namespace qn::platform {

// No font configuration in the browser: the page carries the font files at the paths the
// renderer names.
std::optional<FontFile> findInstalledFont(const FontRequest&) { return std::nullopt; }

void releaseFontLookup() {}

}  // namespace qn::platform

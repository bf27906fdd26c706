// The subcommands of qmftool, one function each, in their own files. Each takes the arguments
// after its name, reports on standard output and standard error, and returns the exit status.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qn::tools {

using Arguments = std::span<const std::string_view>;

inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;
inline constexpr int kBadUsage = 2;

struct QmftoolCommand {
  std::string_view name;
  std::string_view usage;  // the arguments, as shown after the name
  int (*run)(Arguments arguments);
};

// decode-sound [--rate 11025|22050|44100] [--mono] IN OUT.wav
int decodeSoundCommand(Arguments arguments);
// pack [--scales 2,3,4] MANIFEST OUT.qmf [CAST_ROWS.cpp]
int packCommand(Arguments arguments);
// check FILE.qmf [MANIFEST]
int checkCommand(Arguments arguments);
// decode IN OUT.png [ALPHA.bmp]
int decodeCommand(Arguments arguments);
// sheet MANIFEST FILE.qmf OUT.png
int sheetCommand(Arguments arguments);

// Prints "qmftool: " + message to standard error and returns kFailed.
int failure(const std::string& message);

}  // namespace qn::tools

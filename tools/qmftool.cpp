// qmftool: media packing and inspection. `qmftool COMMAND ARGUMENTS...`
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/qmftool_command.h"

namespace {

using qn::tools::QmftoolCommand;

constexpr std::array kCommands = {
    QmftoolCommand{"decode-sound", "[--rate 11025|22050|44100] [--mono] IN OUT.wav",
                   qn::tools::decodeSoundCommand},
    QmftoolCommand{"pack", "[--scales 2,3,4] MANIFEST OUT.qmf [CAST_ROWS.cpp]", qn::tools::packCommand},
    QmftoolCommand{"check", "FILE.qmf [MANIFEST]", qn::tools::checkCommand},
    QmftoolCommand{"decode", "IN OUT.png [ALPHA.bmp]", qn::tools::decodeCommand},
    QmftoolCommand{"sheet", "MANIFEST FILE.qmf OUT.png", qn::tools::sheetCommand},
};

int usage() {
  std::fprintf(stderr, "usage:\n");
  for (const QmftoolCommand& command : kCommands)
    std::fprintf(stderr, "  qmftool %.*s %.*s\n", static_cast<int>(command.name.size()),
                 command.name.data(), static_cast<int>(command.usage.size()), command.usage.data());
  return qn::tools::kBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string_view name = argv[1];
  std::vector<std::string_view> arguments(argv + 2, argv + argc);
  for (const QmftoolCommand& command : kCommands)
    if (command.name == name) return command.run(arguments);
  std::fprintf(stderr, "qmftool: unknown command \"%s\"\n", argv[1]);
  return usage();
}

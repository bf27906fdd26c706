// qmftool: packs, checks and inspects media files.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/qmftool/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(qn::qmftool::Arguments);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"pack", qn::qmftool::packCommand, "pack MANIFEST OUT.qmf [CAST_TABLE.cpp]   write the media file and its cast table"},
    {"check", qn::qmftool::checkCommand, "check FILE.qmf [MANIFEST]               validate a media file (and its members)"},
};

int usage() {
  std::fputs("usage: qmftool COMMAND ARGUMENTS\n", stderr);
  for (const Command& command : kCommands) std::fprintf(stderr, "  qmftool %s\n", command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string name = argv[1];
  std::vector<std::string> arguments(argv + 2, argv + argc);
  for (const Command& command : kCommands)
    if (name == command.name) return command.run(arguments);
  std::fprintf(stderr, "qmftool: unknown command \"%s\"\n", name.c_str());
  return usage();
}

// Program entry: the options (none on the device; the rest serve tests and the desktop), then
// the application's main routine with the program's movie.
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/program_movie.h"

int main(int argc, char** argv) {
  using namespace qn;
  const std::string program = windowTitleOf(platform::executablePath());
  CommandLine line = parseCommandLine(argc, argv);
  if (line.versionRequested) {
    std::fputs(versionText(program).c_str(), stdout);
    return 0;
  }
  if (line.helpRequested) {
    platform::debugOutput(usageText(program));
    return 0;
  }
  if (!line.options) {
    platform::debugOutput(program + ": " + line.error + "\n" + usageText(program));
    return 2;
  }
  Application application(*line.options, program);
  return application.run(makeProgramMovie);
}

// Program entry: the options (none on the device; the rest serve tests and the desktop), then
// the application's main routine with the program's movie. Nothing escapes as an exception: the
// last-resort handler says what happened and the program ends with a failure.
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "platform/main_loop.h"
#include "platform/page_notice.h"
#include "platform/platform.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/exit_code.h"
#include "shell/program_movie.h"

namespace {

// An exception that leaves a destructor, a thread or a noexcept function ends here.
[[noreturn]] void endOnUnhandledError() {
  std::string what = "unknown error";
  if (std::exception_ptr error = std::current_exception()) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& caught) {
      what = caught.what();
    } catch (...) {
    }
  }
  qn::platform::debugOutput("boules: unexpected error, the program ends: " + what + "\n");
  std::_Exit(qn::exitStatus(qn::ExitCode::unexpectedError));
}

int runProgram(int argc, char** argv) {
  using namespace qn;
  const std::string program = windowTitleOf(platform::executablePath());
  CommandLine line = parseCommandLine(argc, argv);
  // Ending before the loop, the page around the browser edition hears the code as well.
  if (line.versionRequested) {
    std::fputs(versionText(program).c_str(), stdout);
    std::fflush(stdout);
    return platform::endWithoutLoop(exitStatus(ExitCode::success));
  }
  if (line.helpRequested) {
    platform::debugOutput(usageText(program));
    return platform::endWithoutLoop(exitStatus(ExitCode::success));
  }
  if (!line.options) {
    // The desktop's person gets the usage after the refusal; the page around the browser edition
    // shows the player the refusal alone, with a way to start without the options.
    platform::debugOutput(program + ": " + line.error + "\n");
    if (!platform::tellPage("options refused", 0)) platform::debugOutput(usageText(program));
    return platform::endWithoutLoop(exitStatus(ExitCode::usage));
  }
  auto application = std::make_unique<Application>(*line.options, program);
  const int code = application->run(makeProgramMovie);
  if (!platform::mainLoopBlocks()) {
    // In the browser the loop goes on from the page's frames: the application lives on with it.
    static std::unique_ptr<Application> runningInThePage;
    runningInThePage = std::move(application);
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::set_terminate(endOnUnhandledError);
  try {
    return runProgram(argc, argv);
  } catch (const std::bad_alloc&) {
    qn::platform::debugOutput("boules: out of memory, the program ends\n");
  } catch (const std::exception& error) {
    qn::platform::debugOutput(std::string("boules: unexpected error, the program ends: ") + error.what() + "\n");
  }
  return qn::platform::endWithoutLoop(qn::exitStatus(qn::ExitCode::unexpectedError));
}

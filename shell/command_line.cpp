#include "shell/command_line.h"

#include <charconv>
#include <limits>

namespace qn {

namespace {

std::optional<uint32_t> parseNumber(std::string_view text, uint32_t low, uint32_t high) {
  uint32_t number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < low || number > high)
    return std::nullopt;
  return number;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  ShellOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    auto refuse = [&](std::string why) {
      line.error = std::move(why);
      return line;
    };
    if (option == "--help" || option == "-h") {
      line.helpRequested = true;
      return line;
    }
    if (option == "--version") {
      line.versionRequested = true;
      return line;
    }
    if (option == "--headless") {
      options.headless = true;
      continue;
    }
    if (option == "--fullscreen") {
      options.fullscreen = true;
      continue;
    }
    if (option == "--stats") {
      options.stats = true;
      continue;
    }
    if (option == "--pixels") {
      options.wholePixels = true;
      continue;
    }
    if (option == "--demo") {  // the number of games is optional
      options.demoGames = 0;
      if (i + 1 < argc && argv[i + 1][0] != '-') {
        auto games = parseNumber(argv[++i], 1, std::numeric_limits<uint32_t>::max());
        if (!games) return refuse("--demo takes a positive whole number of games, not '" + std::string(argv[i]) + "'");
        options.demoGames = *games;
      }
      continue;
    }
    bool takesValue = option == "--frames" || option == "--screenshot" || option == "--record" ||
                      option == "--replay" || option == "--scale" || option == "--depth" ||
                      option == "--report" || option == "--speed";
    if (!takesValue) return refuse("unknown option '" + std::string(option) + "'");
    if (i + 1 >= argc) return refuse("option " + std::string(option) + " needs a value");
    std::string_view value = argv[++i];
    if (option == "--frames") {
      auto frames = parseNumber(value, 1, std::numeric_limits<uint32_t>::max());
      if (!frames) return refuse("--frames needs a positive whole number, not '" + std::string(value) + "'");
      options.frames = *frames;
    } else if (option == "--scale") {
      auto scale = parseNumber(value, 1, 16);
      if (!scale) return refuse("--scale needs a whole number from 1 to 16, not '" + std::string(value) + "'");
      options.scale = static_cast<int>(*scale);
    } else if (option == "--depth") {
      if (value != "16" && value != "32") return refuse("--depth is 16 or 32, not '" + std::string(value) + "'");
      options.displayFormat = value == "32" ? DisplayFormat::argb8888 : DisplayFormat::rgb565;
    } else if (option == "--speed") {
      if (value != "max" && value != "real") return refuse("--speed is max or real, not '" + std::string(value) + "'");
      options.unpaced = value == "max";
    } else if (value.empty()) {
      return refuse("option " + std::string(option) + " needs a file name");
    } else if (option == "--screenshot") {
      options.screenshotPath = value;
    } else if (option == "--record") {
      options.recordPath = value;
    } else if (option == "--report") {
      options.reportPath = value;
    } else {
      options.replayPath = value;
    }
  }
  if (options.demoGames && !options.replayPath.empty()) {
    line.error = "--demo and --replay cannot be used together: both would play the game";
    return line;
  }
  line.options = std::move(options);
  return line;
}

std::string usageText(std::string_view program) {
  std::string text = "usage: ";
  text += program;
  text +=
      " [options]\n"
      "  --headless         run without a window or sound; every tick is one frame\n"
      "  --frames N         end after N frames\n"
      "  --screenshot PATH  write the screen as a PNG image at the end\n"
      "  --record FILE      write the stylus and key input, by frame number\n"
      "  --replay FILE      play the input recorded in FILE\n"
      "  --scale N          show the screen N times enlarged (1 to 16), composed at N x (up to 4);\n"
      "                     headless, compose at N x and write screenshots that large\n"
      "  --pixels           compose at the screen's own size and enlarge it by whole factors\n"
      "  --fullscreen       start full screen (Alt+Enter toggles)\n"
      "  --depth 16|32      display format: 16 (5-6-5, as the device) or 32 bits per pixel\n"
      "  --demo [N]         play by itself, N games (no N: for ever), then end; a click or key\n"
      "                     in the window hands the game over\n"
      "  --report FILE      write what happens in each game to FILE as JSON Lines\n"
      "  --stats            at the end, print frame times, CPU time and memory to standard error\n"
      "  --speed max|real   the frame clock in a window: as fast as it goes, or in real time\n"
      "                     (the default)\n"

      "  --version          print the version\n";
  return text;
}

std::string versionText(std::string_view program) { return std::string(program) + " " BOULES_VERSION "\n"; }

}  // namespace qn

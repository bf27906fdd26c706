#include "shell/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "net/room_protocol.h"

namespace qn {

namespace {

std::optional<uint32_t> parseNumber(std::string_view text, uint32_t low, uint32_t high) {
  uint32_t number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < low || number > high)
    return std::nullopt;
  return number;
}

std::string quoted(std::string_view value) { return "'" + std::string(value) + "'"; }

// What follows an option on the line.
enum class Argument {
  none,
  value,           // the next word, whatever it is
  file,            // the next word, a file name: not empty
  optionalNumber,  // the next word when it does not start with '-'
};

// One option: its name, what follows it, how the usage shows it, and what it does. `apply` gets
// the word that followed it, if one did, and answers why the word was refused, or nothing.
struct Option {
  std::string_view name;
  Argument argument;
  std::string_view shown;  // the argument in the usage: "N", "FILE", "16|32", "[N]"
  std::string_view help;   // the usage's description; a line break continues it on the next line
  std::string (*apply)(CommandLine& line, ShellOptions& options, std::optional<std::string_view> word);
};

constexpr uint32_t kMostFrames = std::numeric_limits<uint32_t>::max();

template <bool ShellOptions::*Flag>
std::string turnOn(CommandLine&, ShellOptions& options, std::optional<std::string_view>) {
  options.*Flag = true;
  return {};
}

template <std::string ShellOptions::*Path>
std::string keepFileName(CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
  options.*Path = *word;
  return {};
}

// Every option, in the order the usage lists them: the parser and the usage text are both made
// from this table.
constexpr Option kOptions[] = {
    {"--headless", Argument::none, "", "run without a window or sound; every tick is one frame",
     turnOn<&ShellOptions::headless>},
    {"--frames", Argument::value, "N", "end after N frames",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       std::optional<uint32_t> frames = parseNumber(*word, 1, kMostFrames);
       if (!frames) return "--frames needs a positive whole number, not " + quoted(*word);
       options.frames = *frames;
       return std::string();
     }},
    {"--screenshot", Argument::file, "PATH", "write the screen as a PNG image at the end",
     keepFileName<&ShellOptions::screenshotPath>},
    {"--record", Argument::file, "FILE", "write the stylus and key input, by frame number",
     keepFileName<&ShellOptions::recordPath>},
    {"--replay", Argument::file, "FILE", "play the input recorded in FILE",
     keepFileName<&ShellOptions::replayPath>},
    {"--scale", Argument::value, "N",
     "show the screen N times enlarged (1 to 16), composed at N x (up to 4);\nheadless, compose at N x (up to 4) and write screenshots that large",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       std::optional<uint32_t> scale = parseNumber(*word, 1, 16);
       if (!scale) return "--scale needs a whole number from 1 to 16, not " + quoted(*word);
       options.scale = static_cast<int>(*scale);
       return std::string();
     }},
    {"--pixels", Argument::none, "", "compose at the screen's own size and enlarge it by whole factors",
     turnOn<&ShellOptions::wholePixels>},
    {"--fullscreen", Argument::none, "", "start full screen (Alt+Enter toggles)",
     turnOn<&ShellOptions::fullscreen>},
    {"--depth", Argument::value, "16|32", "display format: 16 (5-6-5, as the device) or 32 bits per pixel",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       if (*word != "16" && *word != "32") return "--depth is 16 or 32, not " + quoted(*word);
       options.displayFormat = *word == "32" ? DisplayFormat::argb8888 : DisplayFormat::rgb565;
       return std::string();
     }},
    {"--demo", Argument::optionalNumber, "[N]",
     "play by itself, N games (no N: for ever), then end; a click or key\nin the window hands the game over",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       options.demoGames = 0;
       if (!word) return std::string();
       std::optional<uint32_t> games = parseNumber(*word, 1, kMostFrames);
       if (!games) return "--demo takes a positive whole number of games, not " + quoted(*word);
       options.demoGames = *games;
       return std::string();
     }},
    {"--report", Argument::file, "FILE", "write what happens in each game to FILE as JSON Lines",
     keepFileName<&ShellOptions::reportPath>},
    {"--stats", Argument::none, "", "at the end, print frame times, CPU time and memory to standard error",
     turnOn<&ShellOptions::stats>},
    {"--frame-times", Argument::file, "FILE",
     "write when each frame was played: the frame and the microseconds of the\nsystem's monotonic clock (devices of a room on one machine compare)",
     keepFileName<&ShellOptions::frameTimesPath>},
    {"--speed", Argument::value, "max|real",
     "the frame clock: as fast as it goes, or in real time (30 frames a second;\nthe default in a window, headless only when asked)",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       if (*word != "max" && *word != "real") return "--speed is max or real, not " + quoted(*word);
       options.unpaced = *word == "max";
       options.realTime = *word == "real";
       return std::string();
     }},
    {"--host", Argument::none, "",
     "open a room others join by its link (printed on standard output); without\n--server, this program is the room's server on the local network",
     turnOn<&ShellOptions::host>},
    {"--wait-for", Argument::value, "N", "hold the first frame until N devices, this one included, are in the room",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       std::optional<uint32_t> devices = parseNumber(*word, 1, net::kMostDevices);
       if (!devices) return "--wait-for needs a number of devices from 1 to " + std::to_string(net::kMostDevices) + ", not " + quoted(*word);
       options.waitFor = *devices;
       return std::string();
     }},
    {"--join", Argument::value, "LINK|CODE",
     "join the room of that link, or of its short code on --server (to watch,\nor with --seat to play)",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       std::string code(*word);
       std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
       if (net::isShortCode(code)) {
         options.joinCode = code;
         return std::string();
       }
       net::RoomLink link;
       if (std::string problem = net::parseRoomLink(*word, link); !problem.empty()) return "--join: " + problem;
       options.join = link;
       return std::string();
     }},
    {"--seat", Argument::value, "N", "play set-up slot N (1 to 4) from this device; repeatable",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       std::optional<uint32_t> seat = parseNumber(*word, 1, net::kSeats);
       if (!seat) return "--seat needs a set-up slot from 1 to " + std::to_string(net::kSeats) + ", not " + quoted(*word);
       if (std::find(options.seats.begin(), options.seats.end(), static_cast<int32_t>(*seat)) != options.seats.end())
         return "--seat " + std::string(*word) + " is given twice";
       options.seats.push_back(static_cast<int32_t>(*seat));
       std::sort(options.seats.begin(), options.seats.end());
       return std::string();
     }},
    {"--server", Argument::value, "URL[,URL...]",
     "the room server, ws://HOST:PORT; several are tried in turn when a\nconnection drops",
     [](CommandLine&, ShellOptions& options, std::optional<std::string_view> word) {
       if (std::string problem = net::parseServerList(*word, options.servers); !problem.empty()) return "--server: " + problem;
       return std::string();
     }},
    {"--version", Argument::none, "", "print the version",
     [](CommandLine& line, ShellOptions&, std::optional<std::string_view>) {
       line.versionRequested = true;
       return std::string();
     }},
    {"--help", Argument::none, "", "print this text",
     [](CommandLine& line, ShellOptions&, std::optional<std::string_view>) {
       line.helpRequested = true;
       return std::string();
     }},
};

const Option* optionNamed(std::string_view name) {
  if (name == "-h") name = "--help";
  for (const Option& option : kOptions)
    if (option.name == name) return &option;
  return nullptr;
}

// The room's options go together only as a room can use them.
std::string roomOptionsProblem(const ShellOptions& options) {
  const bool joining = options.join || !options.joinCode.empty();
  if (options.host && joining) return "--host and --join cannot be used together: a device opens a room or joins one";
  if (options.waitFor > 1 && !options.host) return "--wait-for is for the device that opens the room (--host)";
  if (!options.seats.empty() && !joining) return "--seat is for a device that joins a room (--join)";
  if (!options.joinCode.empty() && options.servers.empty()) return "--join with a short code needs the room's --server";
  if (!options.seats.empty() && options.join && options.join->device != 0)
    return "--seat cannot be used with a device's own link: it takes back the seats it had";
  if (!options.servers.empty() && !options.inRoom()) return "--server is for a room (--host or --join)";
  if (options.demoGames && options.inRoom()) return "--demo cannot play in a room";
  return {};
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  ShellOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view name = argv[i];
    // "--name=value" gives the value in the same word, whatever it starts with (--demo=-1 is a
    // bad number of games, not an option -1).
    std::optional<std::string_view> word;
    if (const size_t equals = name.find('='); name.substr(0, 2) == "--" && equals != std::string_view::npos) {
      word = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const Option* option = optionNamed(name);
    if (option == nullptr) {
      line.error = "unknown option " + quoted(name);
      return line;
    }
    if (option->argument == Argument::none) {
      if (word) {
        line.error = "option " + std::string(name) + " takes no value, not " + quoted(*word);
        return line;
      }
    } else if (!word) {
      if (option->argument == Argument::optionalNumber) {
        if (i + 1 < argc && argv[i + 1][0] != '-') word = argv[++i];
      } else if (i + 1 < argc) {
        word = argv[++i];
      } else {
        line.error = "option " + std::string(name) + " needs a value";
        return line;
      }
    }
    if (option->argument == Argument::file && word->empty()) {
      line.error = "option " + std::string(name) + " needs a file name";
      return line;
    }
    line.error = option->apply(line, options, word);
    if (!line.error.empty() || line.helpRequested || line.versionRequested) return line;
  }
  if (options.demoGames && !options.replayPath.empty()) {
    line.error = "--demo and --replay cannot be used together: both would play the game";
    return line;
  }
  line.error = roomOptionsProblem(options);
  if (!line.error.empty()) return line;
  line.options = std::move(options);
  return line;
}

// Each option on its line, its description from the same column on, continued lines there too.
std::string usageText(std::string_view program) {
  constexpr size_t kHelpColumn = 21;
  std::string text = "usage: " + std::string(program) + " [options]\n";
  for (const Option& option : kOptions) {
    std::string named = "  " + std::string(option.name);
    if (!option.shown.empty()) named += " " + std::string(option.shown);
    named.resize(std::max(named.size() + 1, kHelpColumn), ' ');
    text += named;
    for (char c : option.help) text += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
    text += '\n';
  }
  return text;
}

std::string versionText(std::string_view program) { return std::string(program) + " " BOULES_VERSION "\n"; }

}  // namespace qn

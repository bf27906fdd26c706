#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/command_line.h"

namespace qn {
namespace {

CommandLine parse(std::vector<const char*> args) {
  args.insert(args.begin(), "boules");
  return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, NoOptionsRunLikeTheDevice) {
  CommandLine line = parse({});
  ASSERT_TRUE(line.options);
  EXPECT_FALSE(line.options->headless);
  EXPECT_EQ(line.options->frames, 0u);
  EXPECT_EQ(line.options->scale, 0);
  EXPECT_EQ(line.options->displayFormat, DisplayFormat::rgb565);
}

TEST(CommandLineTest, ReadsEveryOption) {
  CommandLine line = parse({"--headless", "--frames", "12", "--screenshot", "a.png", "--record", "r.txt", "--replay",
                            "p.txt", "--scale", "3", "--fullscreen", "--depth", "32", "--speed", "max"});
  ASSERT_TRUE(line.options) << line.error;
  const ShellOptions& o = *line.options;
  EXPECT_TRUE(o.headless && o.fullscreen);
  EXPECT_EQ(o.frames, 12u);
  EXPECT_EQ(o.screenshotPath, "a.png");
  EXPECT_EQ(o.recordPath, "r.txt");
  EXPECT_EQ(o.replayPath, "p.txt");
  EXPECT_EQ(o.scale, 3);
  EXPECT_EQ(o.displayFormat, DisplayFormat::argb8888);
  EXPECT_TRUE(o.unpaced);
  EXPECT_FALSE(parse({"--speed", "real"}).options->unpaced);
  EXPECT_TRUE(parse({"--speed", "real"}).options->realTime);
}

TEST(CommandLineTest, RoomOptionsGoTogetherOnlyAsARoomUsesThem) {
  const std::string room = "#room=0123456789abcdef0123456789abcdef";
  const std::string link = "http://192.168.1.20:8000/" + room;
  CommandLine joining = parse({"--join", link.c_str(), "--seat", "3", "--seat", "1", "--server", "ws://a:1,ws://b:2"});
  ASSERT_TRUE(joining.options) << joining.error;
  EXPECT_EQ(joining.options->seats, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(joining.options->join->site.host, "192.168.1.20");
  EXPECT_EQ(joining.options->servers.size(), 2u);
  CommandLine byCode = parse({"--join", "K7M2X9", "--server", "ws://a:1"});
  ASSERT_TRUE(byCode.options) << byCode.error;
  EXPECT_EQ(byCode.options->joinCode, "k7m2x9");
  CommandLine hosting = parse({"--host", "--wait-for", "3"});
  ASSERT_TRUE(hosting.options) << hosting.error;
  EXPECT_TRUE(hosting.options->inRoom());
  EXPECT_EQ(hosting.options->waitFor, 3u);
  const std::string own = link + "&device=2&key=fedcba9876543210fedcba9876543210";
  for (auto args : std::vector<std::vector<std::string>>{{"--host", "--join", link},
                                                          {"--wait-for", "2"},
                                                          {"--seat", "1"},
                                                          {"--join", link, "--seat", "5"},
                                                          {"--join", link, "--seat", "2", "--seat", "2"},
                                                          {"--join", own, "--seat", "2"},
                                                          {"--join", "http://192.168.1.20:8000/"},
                                                          {"--join", "k7m2x9"},
                                                          {"--server", "ws://a:1"},
                                                          {"--host", "--server", "http://a:1"},
                                                          {"--host", "--demo"}}) {
    std::vector<const char*> words;
    for (const std::string& arg : args) words.push_back(arg.c_str());
    EXPECT_FALSE(parse(words).options) << args[0] << " " << args.back();
  }
}

TEST(CommandLineTest, TheDemoTakesAnOptionalNumberOfGames) {
  CommandLine forEver = parse({"--demo", "--report", "r.jsonl", "--stats"});
  ASSERT_TRUE(forEver.options) << forEver.error;
  EXPECT_EQ(forEver.options->demoGames, 0u);
  EXPECT_EQ(forEver.options->reportPath, "r.jsonl");
  EXPECT_TRUE(forEver.options->stats);
  CommandLine three = parse({"--demo", "3", "--headless"});
  ASSERT_TRUE(three.options) << three.error;
  EXPECT_EQ(three.options->demoGames, 3u);
  EXPECT_TRUE(three.options->headless);
  EXPECT_FALSE(parse({}).options->demoGames);
  for (auto args : std::vector<std::vector<const char*>>{{"--demo", "0"}, {"--demo", "x"},
                                                         {"--demo", "--replay", "p.txt"}, {"--report"}})
    EXPECT_FALSE(parse(args).options) << args[0] << " " << args.back();
}

TEST(CommandLineTest, RefusesUnknownOptionsAndBadValues) {
  for (auto args : std::vector<std::vector<const char*>>{{"--fast"},
                                                         {"--frames"},
                                                         {"--frames", "0"},
                                                         {"--frames", "12x"},
                                                         {"--frames", "-3"},
                                                         {"--scale", "17"},
                                                         {"--depth", "8"},
                                                         {"--speed", "fast"},
                                                         {"--screenshot", ""},
                                                         {"extra"}}) {
    CommandLine line = parse(args);
    EXPECT_FALSE(line.options) << args[0];
    EXPECT_FALSE(line.error.empty());
  }
  // A value in the option's own word is taken whatever it starts with, so that it is judged.
  CommandLine attached = parse({"--demo=3", "--report=r.jsonl"});
  ASSERT_TRUE(attached.options) << attached.error;
  EXPECT_EQ(attached.options->demoGames, 3u);
  EXPECT_EQ(attached.options->reportPath, "r.jsonl");
  EXPECT_EQ(parse({"--demo=-1"}).error, "--demo takes a positive whole number of games, not '-1'");
  EXPECT_EQ(parse({"--stats=1"}).error, "option --stats takes no value, not '1'");
  EXPECT_EQ(parse({"--report="}).error, "option --report needs a file name");
  EXPECT_EQ(parse({"--nonsense=1"}).error, "unknown option '--nonsense'");
  EXPECT_TRUE(parse({"--help"}).helpRequested);
  EXPECT_NE(usageText("boules").find("--replay FILE"), std::string::npos);
}

}  // namespace
}  // namespace qn

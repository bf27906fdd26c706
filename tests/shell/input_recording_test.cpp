#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/mapped_file.h"
#include "shell/input_recording.h"

namespace qn {
namespace {

TEST(InputRecordingTest, WrittenLinesReadBackTheSame) {
  const std::vector<TimedInput> events = {
      {0, {InputKind::stylusDown, 120, 65535}}, {0, {InputKind::stylusMove, 121, 160}},
      {3, {InputKind::stylusUp, 0, 319}},       {3, {InputKind::doubleTap, 5, 6}},
      {7, {InputKind::keyDown, 13, 0, true}},   {7, {InputKind::character, 13, 0, true}},
      {9, {InputKind::keyUp, 37}},              {9, {InputKind::character, 97}},
      {11, {InputKind::focusLost}},             {11, {InputKind::focusGained}},
  };
  std::string path = ::testing::TempDir() + "recording.txt";
  {
    InputRecorder recorder;
    ASSERT_TRUE(recorder.open(path));
    for (const TimedInput& event : events) recorder.write(event.frame, event.input);
  }
  std::string text;
  ASSERT_TRUE(platform::readWholeFile(path, text));
  EXPECT_NE(text.find("7 keydown 13 extended\n"), std::string::npos);
  EXPECT_NE(text.find("11 focuslost\n11 focusgained\n"), std::string::npos);
  std::vector<TimedInput> read;
  std::string error;
  ASSERT_TRUE(parseRecording(text, read, error)) << error;
  EXPECT_EQ(read, events);
  std::remove(path.c_str());

  InputReplay replay(read);
  std::vector<DeviceInput> due;
  replay.deliverDue(2, [&](const DeviceInput& input) { due.push_back(input); });
  EXPECT_EQ(due.size(), 2u);
  replay.deliverDue(8, [&](const DeviceInput& input) { due.push_back(input); });
  EXPECT_EQ(due.size(), 6u);
  EXPECT_FALSE(replay.finished());
  replay.deliverDue(100, [&](const DeviceInput& input) { due.push_back(input); });
  EXPECT_TRUE(replay.finished());
}

TEST(InputRecordingTest, BadLinesAreRefusedWithTheirNumber) {
  std::vector<TimedInput> events;
  std::string error;
  EXPECT_TRUE(parseRecording("# only a comment\n\n  \r\n", events, error));
  EXPECT_TRUE(events.empty());
  for (const char* text : {"1 down 5\n", "x down 1 2\n", "1 tap 1 2\n", "1 keydown 70000\n", "2 up 1 2\n1 up 1 2\n",
                           "1 char 65 shifted\n", "1 down 1 2 3\n", "1 keyup\n", "1 focuslost 0\n"}) {
    EXPECT_FALSE(parseRecording(text, events, error)) << text;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
  EXPECT_FALSE(parseRecording("1 up 1 2\n\n# note\n0 up 1 2\n", events, error));
  EXPECT_EQ(error, "line 4: frame numbers go backwards");
  // A byte-order mark starts the text only: one later in it is a bad word.
  EXPECT_TRUE(parseRecording("\xEF\xBB\xBF" "5 up 1 2\n", events, error)) << error;
  EXPECT_EQ(events, (std::vector<TimedInput>{{5, {InputKind::stylusUp, 1, 2}}}));
  EXPECT_FALSE(parseRecording("5 up 1 2\n\xEF\xBB\xBF" "6 up 1 2\n", events, error));
}

}  // namespace
}  // namespace qn

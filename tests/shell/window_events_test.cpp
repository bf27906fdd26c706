#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/mapped_file.h"
#include "shell/application.h"
#include "platform/main_window.h"
#include "sound/sound_mixer.h"
#include "test_movie.h"

namespace qn {
namespace {

// SDL events pushed into a window on SDL's dummy video driver arrive as the device's messages;
// the recording shows exactly which.
class WindowEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.scale = 2;
    options_.recordPath = ::testing::TempDir() + "shell_window_events.txt";
    application_ = std::make_unique<Application>(options_, "shell-test-events");
    ASSERT_FALSE(application_->start([](DisplayHost& display, SoundMixer& mixer) {
      return test::TestMovie::make(display, mixer, {.exitLock = true});
    }));
    windowId_ = application_->window()->windowId();
  }
  void TearDown() override {
    if (application_) application_->shutdown();
    std::remove(options_.recordPath.c_str());
  }

  void key(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId_;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  }
  void text(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = windowId_;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
  }
  void click(int x, int y, Uint8 clicks) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = windowId_;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }
  // A finger at a fraction of the window's width and height.
  void finger(Uint32 type, SDL_FingerID id, float x, float y) {
    SDL_Event event{};
    event.type = type;
    event.tfinger.touchId = 7;
    event.tfinger.fingerId = id;
    event.tfinger.x = x;
    event.tfinger.y = y;
    event.tfinger.windowID = windowId_;
    SDL_PushEvent(&event);
  }
  void windowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId_;
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  std::string recording() {
    application_->shutdown();
    application_.reset();
    std::string text;
    platform::readWholeFile(options_.recordPath, text);
    return text.substr(text.find('\n') + 1);  // after the heading comment
  }

  ShellOptions options_;
  std::unique_ptr<Application> application_;
  Uint32 windowId_ = 0;
};

TEST_F(WindowEventsTest, KeysTextAndClicksBecomeDeviceMessages) {
  ASSERT_TRUE(application_->turn());  // takes whatever the window itself reported at start
  key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
  key(SDL_KEYDOWN, SDL_SCANCODE_Z);  // a plain letter types itself
  text("z");
  key(SDL_KEYUP, SDL_SCANCODE_Z);
  key(SDL_KEYDOWN, SDL_SCANCODE_A, KMOD_LCTRL | KMOD_LSHIFT);  // game key A: a device button, no text
  text("a");
  key(SDL_KEYUP, SDL_SCANCODE_A);  // released after the modifiers: still game key A
  text("\xC3\xA9");  // é
  key(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
  key(SDL_KEYDOWN, SDL_SCANCODE_3, KMOD_LCTRL);  // window scale: never reaches the movie
  key(SDL_KEYUP, SDL_SCANCODE_3);
  click(101, 121, 2);                            // a double click, now at scale 3
  key(SDL_KEYDOWN, SDL_SCANCODE_A, KMOD_LCTRL);   // Ctrl+A types the control character 1
  ASSERT_TRUE(application_->turn());
  int width = 0, height = 0;
  SDL_GetWindowSize(SDL_GetWindowFromID(windowId_), &width, &height);
  EXPECT_EQ(width, 720);
  EXPECT_EQ(height, 960);
  EXPECT_EQ(recording(),
            "1 keydown 27\n1 char 27\n1 keydown 90\n1 char 122\n1 keyup 90\n1 keydown 195\n1 keyup 195\n"
            "1 char 233\n1 keydown 13 extended\n"
            "1 char 13 extended\n1 doubletap 33 40\n1 keydown 65\n1 char 1\n");
}

// One finger is the stylus, mapped through the window's scale (2 here); a second finger is
// ignored while the first is down, and the mouse events SDL makes of a touch are not a second
// stylus. A quick second touch near the first is a double tap.
TEST_F(WindowEventsTest, OneFingerIsTheStylus) {
  ASSERT_TRUE(application_->turn());
  finger(SDL_FINGERDOWN, 1, 0.5f, 0.25f);
  SDL_Event synthesized{};
  synthesized.type = SDL_MOUSEBUTTONDOWN;
  synthesized.button.which = SDL_TOUCH_MOUSEID;
  synthesized.button.button = SDL_BUTTON_LEFT;
  synthesized.button.windowID = windowId_;
  SDL_PushEvent(&synthesized);
  finger(SDL_FINGERDOWN, 2, 0.9f, 0.9f);
  finger(SDL_FINGERMOTION, 2, 0.8f, 0.8f);
  finger(SDL_FINGERUP, 2, 0.8f, 0.8f);
  finger(SDL_FINGERMOTION, 1, 0.25f, 0.5f);
  finger(SDL_FINGERUP, 1, 0.25f, 0.5f);
  finger(SDL_FINGERDOWN, 3, 0.51f, 0.26f);
  finger(SDL_FINGERUP, 3, 0.51f, 0.26f);
  ASSERT_TRUE(application_->turn());
  EXPECT_EQ(recording(), "1 down 120 80\n1 move 60 160\n1 up 60 160\n1 doubletap 122 83\n1 up 122 83\n");
}

TEST_F(WindowEventsTest, MuteSilencesTheMixerAndShowsInTheTitle) {
  SDL_Window* window = SDL_GetWindowFromID(windowId_);
  key(SDL_KEYDOWN, SDL_SCANCODE_M, KMOD_LCTRL);
  ASSERT_TRUE(application_->turn());
  EXPECT_TRUE(application_->mixer()->muted());
  EXPECT_STREQ(SDL_GetWindowTitle(window), "shell-test-events (muted)");
  SDL_Event button{};
  button.type = SDL_CONTROLLERBUTTONDOWN;
  button.cbutton.button = SDL_CONTROLLER_BUTTON_Y;
  SDL_PushEvent(&button);
  ASSERT_TRUE(application_->turn());
  EXPECT_FALSE(application_->mixer()->muted());
  EXPECT_STREQ(SDL_GetWindowTitle(window), "shell-test-events");
  EXPECT_EQ(recording(), "") << "mute never reaches the movie";
}

TEST_F(WindowEventsTest, FocusAndClose) {
  windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(application_->turn());
  EXPECT_TRUE(application_->suspended());
  windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_TRUE(application_->turn());
  EXPECT_FALSE(application_->suspended());
  windowEvent(SDL_WINDOWEVENT_CLOSE);
  EXPECT_FALSE(application_->turn());
}

}  // namespace
}  // namespace qn

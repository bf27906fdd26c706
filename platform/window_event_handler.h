// What the window's event queue tells the program, in the device's terms: keys as the device's
// virtual keys (the numbers its keyboard gives them) with the modifiers held, typed characters,
// the pointer (mouse, finger or pen) at device-screen points, game-controller buttons, and the
// window's own events. The program implements the handler; platform::WindowEvents calls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "platform/screen_point.h"

namespace qn::platform {

enum KeyModifiers : uint8_t { noModifiers = 0, ctrlHeld = 1, shiftHeld = 2, altHeld = 4 };

struct KeyPress {
  uint16_t physicalKey = 0;  // the key itself, below kPhysicalKeyCount: its release names it too
  uint8_t virtualKey = 0;    // the device's number for the key; 0 for keys the device has none for
  uint8_t modifiers = noModifiers;
  bool keypad = false;             // the keypad's Return (the device's extended-key flag)
  bool repeat = false;             // the key is held and repeats
  uint32_t controlCharacter = 0;  // the character a plain keyboard types with no text event (escape,
                                  // backspace, tab, return, Ctrl+letter), 0 for none
};
inline constexpr int kPhysicalKeyCount = 512;

enum class PointerAction : uint8_t { down, doubleDown, up, move };

// A game controller's buttons, laid out as the common pad's.
enum class ControllerButton : uint8_t {
  a, b, x, y, back, guide, start, leftStick, rightStick, leftShoulder, rightShoulder,
  dpadUp, dpadDown, dpadLeft, dpadRight,
};
inline constexpr int kControllerButtonCount = 15;

// Asked of the program by the page around it (the browser edition), each with a number: the
// mute button (0); the presentation scale its canvas needs (the scale); a finer media set the
// page has put beside the media file (its scale); what the program keeps for the person was
// stored by another page of the site (0). The page names a command by its name here, never by
// its number, so that the two sides cannot drift apart.
enum class HostCommand : uint8_t { toggleMute, presentationScale, mediaSetArrived, keptStateStoredElsewhere };
inline constexpr std::string_view kHostCommandNames[] = {"toggleMute", "presentationScale", "mediaSetArrived",
                                                         "keptStateStoredElsewhere"};
static_assert(std::size(kHostCommandNames) == static_cast<size_t>(HostCommand::keptStateStoredElsewhere) + 1,
              "a name for every host command, in the enum's order");

class WindowEventHandler {
 public:
  virtual ~WindowEventHandler() = default;

  // False once the program has stopped taking events: the rest wait for the next turn.
  virtual bool takingEvents() const = 0;

  virtual void keyDown(const KeyPress& key) = 0;
  virtual void keyUp(const KeyPress& key) = 0;
  virtual void typed(uint32_t character) = 0;
  // `moved`: a move that really changed the position (not one a window change reported).
  virtual void pointer(PointerAction action, ScreenPoint point, bool moved) = 0;
  virtual void controllerButton(ControllerButton button, bool down) = 0;
  virtual void focusChanged(bool gained) = 0;  // in the browser also the page hidden or shown
  virtual void closeRequested() = 0;
  virtual void lowMemory() = 0;
  virtual void hostCommand(HostCommand command, int32_t value) = 0;
};

}  // namespace qn::platform

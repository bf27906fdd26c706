#include "platform/key_state.h"

namespace qn::platform {

namespace {
KeyStateHandler keyStateHandler;
}  // namespace

bool keyPressed(int32_t code) { return keyStateHandler && keyStateHandler(code); }

void setKeyStateHandler(KeyStateHandler handler) { keyStateHandler = std::move(handler); }

}  // namespace qn::platform

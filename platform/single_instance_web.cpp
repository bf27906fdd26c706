#include "platform/single_instance.h"

namespace qn::platform {

// Every page runs its own copy: there is no other one to bring forward.
SingleInstance::SingleInstance(std::string_view) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::takeRaiseRequests() { return false; }

std::string SingleInstance::lockPath(std::string_view) { return {}; }

}  // namespace qn::platform

#pragma once

#include <functional>

namespace addrix {

// Reads an environment variable; null when it is not set.
using EnvReader = std::function<const char*(const char* name)>;

// False when the wizard has nowhere to show itself: on a desktop that needs
// an X or Wayland server, none is named and no other Qt platform is chosen.
// Elsewhere the system's own desktop is always there.
bool HasDisplay(const EnvReader& env);

// The message printed instead of opening the wizard without a display.
const char* NoDisplayMessage();

} // namespace addrix

#pragma once

#include "platform/Environment.h"

namespace addrix {

// False when the wizard has nowhere to show itself: on a desktop that needs
// an X or Wayland server, none is named and no other Qt platform is chosen.
// Elsewhere the system's own desktop is always there.
bool HasDisplay(const EnvLookup& env);

// The message printed instead of opening the wizard without a display.
const char* NoDisplayMessage();

} // namespace addrix

#pragma once

namespace addrix {

// Exit status of `addrix` without arguments where no display can be had.
inline constexpr int kExitNoDisplay = 69;

// Runs the wizard with the real services until it is unloaded; returns the
// program's exit status. Without a display it says so and returns
// kExitNoDisplay.
int RunWizard(int& argc, char** argv);

} // namespace addrix

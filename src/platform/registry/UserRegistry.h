#pragma once

#include "platform/Environment.h"
#include "platform/IRegistry.h"

#include <memory>

namespace addrix {

// The current user's registry: the system's own on Windows; elsewhere the
// registry file that DefaultRegistryFilePath names, its drive paths turned
// into places on this system through the drive links beside it, and the
// desktop's documents folder standing in for a documents folder it lacks.
std::unique_ptr<IRegistry> OpenUserRegistry(const EnvLookup& env);

} // namespace addrix

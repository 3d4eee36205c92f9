#include "platform/SystemWindowActivator.h"

#include "platform/x11/X11WindowActivator.h"

namespace addrix {

bool SystemWindowActivator::activate(const std::string& title) {
    return X11WindowActivator().activate(title);
}

} // namespace addrix

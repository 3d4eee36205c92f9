#pragma once

#include <stdexcept>

namespace addrix {

// An export that cannot go on; its text is shown to the user.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace addrix

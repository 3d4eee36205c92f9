#pragma once

#include <optional>
#include <string>

namespace addrix {

// One showing of a file dialog. The filter is "Description (*.ext)|*.ext".
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string filter;
    std::string defaultExtension; // added to a name typed without one
    std::string initialDir;
    std::string fileName;       // preset file name (may be a full path)
    bool pathMustExist = false; // the folder of the chosen path must exist
};

// The system's file dialogs.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    // Shows the dialog modally; the chosen full path, or nothing when the
    // user cancelled or the dialog failed.
    virtual std::optional<std::string> show(const FileDialogRequest& request) = 0;
};

} // namespace addrix

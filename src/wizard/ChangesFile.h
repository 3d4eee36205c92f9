#pragma once

#include "contact/ChangeReport.h"

#include <string>
#include <vector>

namespace addrix {

class IFileDialog;
class IFileSystem;
class IMessageBox;

// Where Save... in the Changes window starts, and what it may not write: the
// files the export read and wrote, and the program's own.
struct ChangesFilePlace {
    std::string exportFolder;
    std::vector<std::string> refused;
};

// Save... in the Changes window: the user chooses a file, starting in the
// export folder; one of `place.refused`, however spelt, is refused with a
// box, an existing file is replaced only when the user says so, and the
// rows are written as the report's CSV, taking the file's place only once
// all are written.
void SaveChangesFile(const std::vector<Change>& rows, const ChangesFilePlace& place,
                     IFileDialog& dialog, IMessageBox& messages, const IFileSystem& files);

} // namespace addrix

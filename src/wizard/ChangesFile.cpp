#include "wizard/ChangesFile.h"

#include "platform/FilePath.h"
#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IMessageBox.h"
#include "platform/PathUtil.h"
#include "platform/TextFile.h"

namespace addrix {

namespace {

void ShowNotSaved(IMessageBox& messages, const std::string& reason) {
    messages.show("Error Occurred", "The changes could not be saved.\r\n" + reason, MsgButtons::Ok,
                  MsgIcon::Critical);
}

} // namespace

void SaveChangesFile(const std::vector<Change>& rows, const ChangesFilePlace& place,
                     IFileDialog& dialog, IMessageBox& messages, const IFileSystem& files) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Save Changes";
    request.filter = "Changes (*.csv)|*.csv";
    request.defaultExtension = "csv";
    request.initialDir = place.exportFolder;
    request.fileName = WithTrailingSeparator(place.exportFolder) + "NorvikChanges.csv";
    request.pathMustExist = true;
    const std::optional<std::string> path = dialog.show(request);
    if (!path)
        return;
    for (const std::string& refused : place.refused)
        if (NamesSameFile(*path, refused)) {
            ShowNotSaved(messages, *path + " is a file the export or the program uses.");
            return;
        }
    if (files.pathExists(*path) &&
        messages.show("Save Changes", *path + " already exists.\r\nDo you want to replace it?",
                      MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    try {
        ChangeReportFile report;
        report.open(*path);
        for (const Change& change : rows)
            report.add(change);
        report.commit();
    } catch (const FileError& error) {
        ShowNotSaved(messages, error.what());
    }
}

} // namespace addrix

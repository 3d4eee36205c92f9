#include "export/ExportDriver.h"

#include "export/ContactRecord.h"
#include "export/IWizardForm.h"
#include "galder/GalderExportJob.h"
#include "ivro/IvroReader.h"
#include "platform/FilePath.h"
#include "platform/IMessageBox.h"
#include "platform/PathUtil.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>

namespace addrix {

namespace {

std::string ToLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

RecordCount RunSource(const std::string& tag, ILineSink& file, IWizardForm& wizard,
                      ExportContext& context) {
    if (tag == "galder")
        return context.galderWindow ? RunGalderExport(file, wizard, *context.galderWindow) : 0;
    if (tag == "ivro")
        return ReadIvroBackup(file, wizard, context);
    return 0;
}

// True when `path` names the backup file the "ivro" source is to read.
bool IsTheBackupFile(const std::string& tag, const IWizardForm& wizard, const std::string& path) {
    std::error_code ec;
    return tag == "ivro" &&
           std::filesystem::equivalent(ToFsPath(path), ToFsPath(wizard.txtIvroFile()), ec);
}

} // namespace

std::string OutputPath(const std::string& dir, const std::string& fileName) {
    return WithTrailingSeparator(dir) + fileName;
}

RecordCount DoExport(const std::string& sourceTag, IWizardForm& wizard, ExportContext& context) {
    const std::string path = OutputPath(wizard.txtDir(), wizard.txtFileName());

    const std::string tag = ToLower(sourceTag);
    TextFileWriter file;
    try {
        // Opening the output empties it: never so for the backup about to be read.
        if (IsTheBackupFile(tag, wizard, path))
            throw FileError(path);
        file.open(path);
    } catch (const FileError&) {
        context.messages.show("File Access Error",
                              "Could not open the file specified for writing\r\n"
                              "Please make sure you specified the correct directory and file "
                              "name.",
                              MsgButtons::Ok, MsgIcon::Critical);
        return kExportOpenFailed;
    }

    std::string description;
    try {
        file.writeLine(kNorvikCsvHeader);
        const RecordCount count = RunSource(tag, file, wizard, context);
        // A full disk may only show when the last buffered lines are written.
        file.close();
        return count;
    } catch (const std::bad_alloc&) {
        description = "Out of memory";
    } catch (const std::exception& error) {
        description = error.what();
    }
    // Keep what was written before the failure; a second failure while
    // closing adds nothing the user needs to know.
    try {
        file.close();
    } catch (const FileError&) {
    }
    context.messages.show("Error Occurred", "Error occurred in DoExport\r\n" + description,
                          MsgButtons::Ok, MsgIcon::Critical);
    return kExportFailed;
}

} // namespace addrix

#pragma once

#include <cstdint>
#include <string>

namespace addrix {

class IGalderDownloadWindow;
class IMessageBox;
class IWizardForm;
struct Settings;

// Number of contacts a source wrote; negative when the export failed. Wide
// enough for any backup file once the record limit is raised.
using RecordCount = std::int32_t;

inline constexpr RecordCount kExportOpenFailed = -1;
inline constexpr RecordCount kExportFailed = -2;

// What an export needs besides the wizard's controls.
struct ExportContext {
    IMessageBox& messages;
    const Settings& settings;
    // Runs the Galder download; without one the "galder" source writes nothing.
    IGalderDownloadWindow* galderWindow = nullptr;
};

// The output path: `dir`, one separator unless it ends in one, `fileName`.
std::string OutputPath(const std::string& dir, const std::string& fileName);

// Runs one export: creates the output file named by the wizard's txtDir and
// txtFileName, writes the header line, runs the source named by `sourceTag`
// ("galder" or "ivro", any case) and closes the file. Returns the number of
// contacts written, -1 when the file could not be created, -2 when another
// error ended the export. Every failure is shown in a message box.
RecordCount DoExport(const std::string& sourceTag, IWizardForm& wizard, ExportContext& context);

} // namespace addrix

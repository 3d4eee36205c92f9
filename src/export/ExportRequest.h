#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace addrix {

enum class ExportSource { Galder, Ivro };

// "galder" or "ivro", as the change report names the source.
const char* ExportSourceName(ExportSource source);

// The source a tag names: "galder" or "ivro", in any case.
std::optional<ExportSource> ParseExportSource(std::string_view tag);

// Everything one export is given, as values.
struct ExportRequest {
    ExportSource source = ExportSource::Ivro;
    std::string outputDir;
    std::string outputFile;
    std::string ivroFile;    // the backup file the Ivro source reads
    int portNumber = 0;      // COMn of the Galder cradle; 0 when none is selected
    int emailOption = 0;     // the Galder e-mail's column: 0 work, 1 home, other: none
    double maxRecords = 250; // MaxDeviceRecords
    bool trace = false;      // Debug: the Galder exchange is traced
};

// The output path: `dir`, one separator unless it ends in one, `fileName`.
std::string OutputPath(const std::string& dir, const std::string& fileName);

} // namespace addrix

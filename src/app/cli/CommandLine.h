#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace addrix {

class IFileSystem;
class IGalderDownloadWindow;
class IIniService;
class IProgramLocation;

// Exit statuses of the command line.
enum ExitStatus : int {
    kExitRecordsWritten = 0,
    kExitNoRecords = 1,
    kExitExportFailed = 2,
    kExitUsage = 64,
};

// What the command line needs from the platform.
struct CommandLineServices {
    std::ostream& out;
    std::ostream& err;
    const IProgramLocation& program;
    const IFileSystem& files;
    IIniService& ini;
    // The proposed Ivro backup file when neither --input nor the settings name one.
    std::function<std::string()> defaultIvroFile;
    // Makes the download without a window that runs a Galder export; empty
    // where no serial port can be used.
    std::function<std::unique_ptr<IGalderDownloadWindow>()> galderWindow;
    // The user's documents folder, the output folder when neither --dir nor
    // the settings name one and the program folder cannot be written.
    std::function<std::string()> documentsFolder;
    // The program's own files (settings, trace), never to be written over.
    std::vector<std::string> ownFiles = {};
};

// Runs `addrix` with `args` (without the program name) and returns its exit status.
int RunCommandLine(const std::vector<std::string>& args, CommandLineServices& services);

// The text `addrix --help` prints.
std::string UsageText();

} // namespace addrix

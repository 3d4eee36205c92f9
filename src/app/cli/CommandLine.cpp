#include "app/cli/CommandLine.h"

#include "app/cli/ConsoleMessageBox.h"
#include "contact/ChangeReport.h"
#include "export/ExportDriver.h"
#include "export/GalderExportJob.h"
#include "platform/IFileSystem.h"
#include "platform/InterruptSignal.h"
#include "platform/NumberText.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "settings/Settings.h"
#include "wizard/WizardStartup.h"

#include <map>
#include <optional>
#include <ostream>

namespace addrix {

namespace {

struct UsageError {
    std::string reason;
};

// `--help` among the options of a command.
struct HelpRequested {};

struct ExportArgs {
    std::map<std::string, std::string> values; // option name -> value as given
    bool has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& get(const std::string& name) const { return values.at(name); }
};

// Where the user's own settings file lies, for the help text.
#ifdef _WIN32
#define ADDRIX_USER_SETTINGS_FOLDER "%APPDATA%\\addrix"
#else
#define ADDRIX_USER_SETTINGS_FOLDER "$XDG_CONFIG_HOME/addrix, by default ~/.config/addrix"
#endif

// Entries of the wizard's e-mail column list.
constexpr int kEmailChoices = 3;

// Options of `addrix export` that take a value.
const char* const kExportOptions[] = {"--source",      "--input", "--dir",   "--file",
                                      "--max-records", "--port",  "--email", "--report"};

ExportArgs ParseExportArgs(const std::vector<std::string>& args) {
    ExportArgs parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        const auto eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h")
            throw HelpRequested{};
        bool known = false;
        for (const char* option : kExportOptions)
            known = known || name == option;
        if (!known)
            throw UsageError{"unknown option '" + name + "'"};
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError{"option '" + name + "' needs a value"};
            value = args[++i];
        }
        if (parsed.has(name))
            throw UsageError{"option '" + name + "' is given twice"};
        parsed.values[name] = *value;
    }
    if (!parsed.has("--source"))
        throw UsageError{"export needs --source ivro or --source galder"};
    return parsed;
}

// The COM number of --port: 1 to 255.
int PortNumber(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError{"--port takes a COM number from 1 to 255"};
    const int number = std::stoi(text);
    if (number < 1 || number > 255)
        throw UsageError{"--port takes a COM number from 1 to 255"};
    return number;
}

// The record limit of --max-records: a decimal number, a sign and a fraction
// allowed ("250", "-1", "12.5").
double MaxRecords(const std::string& text) {
    std::size_t pos = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    const std::size_t digits = text.find_first_not_of("0123456789", pos);
    std::size_t end = digits == std::string::npos ? text.size() : digits;
    bool valid = end > pos;
    if (valid && end < text.size() && text[end] == '.') {
        const std::size_t fraction = text.find_first_not_of("0123456789", end + 1);
        valid = fraction == std::string::npos && end + 1 < text.size();
        end = text.size();
    }
    if (!valid || end != text.size())
        throw UsageError{"--max-records takes a number of records"};
    return NumericValue(text);
}

// The position of --email in the e-mail column list.
int EmailPosition(const std::string& text) {
    const std::string choice = AsciiLower(text);
    const char* const choices[] = {"work", "home", "alternate"};
    for (int i = 0; i < 3; ++i)
        if (choice == choices[i])
            return i;
    throw UsageError{"--email takes work, home or alternate"};
}

int RunExport(const std::vector<std::string>& args, CommandLineServices& services) {
    const ExportArgs parsed = ParseExportArgs(args);
    const std::optional<ExportSource> source = ParseExportSource(parsed.get("--source"));
    if (!source)
        throw UsageError{"unknown source '" + parsed.get("--source") + "'"};
    const bool galder = *source == ExportSource::Galder;
    if (!galder && (parsed.has("--port") || parsed.has("--email")))
        throw UsageError{"--port and --email belong to --source galder"};
    if (galder && parsed.has("--input"))
        throw UsageError{"--input belongs to --source ivro"};
    if (galder && !services.galderWindow)
        throw UsageError{"this build cannot read a Galder device"};
    if (galder && !parsed.has("--port"))
        throw UsageError{"--source galder needs --port N, the COM number of the cradle"};

    // An option not given takes the value the wizard would show.
    SavedSettings saved = LoadSettings(services.ini, SettingsFilePath(services.program));
    FillDefaultChoices(saved.choices, services.files, services.program.programDir(),
                       services.defaultIvroFile, services.documentsFolder);
    const Settings& settings = saved.settings;
    const Choices& choices = saved.choices;

    ExportRequest request;
    request.source = *source;
    request.outputDir = parsed.has("--dir") ? parsed.get("--dir") : *choices.ExportPath;
    request.outputFile = parsed.has("--file") ? parsed.get("--file") : *choices.ExportFile;
    request.ivroFile = parsed.has("--input") ? parsed.get("--input") : *choices.IvroFile;
    request.maxRecords = parsed.has("--max-records") ? MaxRecords(parsed.get("--max-records"))
                                                     : settings.MaxDeviceRecords;
    request.trace = settings.DebugEnabled;
    std::unique_ptr<IGalderDownloadWindow> galderWindow;
    if (galder) {
        request.portNumber = PortNumber(parsed.get("--port"));
        // Without --email, the wizard's last choice; 0 when the settings hold none.
        request.emailOption = parsed.has("--email")
                                  ? EmailPosition(parsed.get("--email"))
                                  : ListPosition(choices.GalderEmail, kEmailChoices).value_or(0);
        galderWindow = services.galderWindow();
    }

    ConsoleMessageBox messages(services.err);
    // The report is opened first: one that cannot be written stops the
    // export before the Norvik file is touched.
    ChangeCollector collected(false); // counts for the summary
    ChangeReportFile reportFile;
    const bool report = parsed.has("--report");
    if (report) {
        try {
            reportFile.open(parsed.get("--report"));
        } catch (const FileError& error) {
            messages.show("Report",
                          "The change report cannot be written: " + std::string(error.what()),
                          MsgButtons::Ok, MsgIcon::Critical);
            return kExitExportFailed;
        }
    }
    ChangeTee both(collected, reportFile);
    ExportContext context{messages, settings, galderWindow.get()};
    context.changes = report ? static_cast<IChangeSink*>(&both) : &collected;
    // Ctrl-C or a polite kill ends a conversion through its failure path, so
    // that the lines written are put in place and nothing temporary stays.
    // The Galder download watches for them itself.
    std::optional<InterruptSignal> interrupt;
    if (request.source == ExportSource::Ivro) {
        interrupt.emplace();
        context.cancelled = [&interrupt] {
            return interrupt->takePending();
        };
    }
    RecordCount inFile = 0;
    const RecordCount count = RunExport(request, context, &inFile);
    interrupt.reset();
    // After a failure the contacts written before it stay in the file: say so.
    const RecordCount written = count < 0 ? inFile : count;
    if (written > 0)
        services.out << written << (written == 1 ? " record exported." : " records exported.")
                     << '\n'
                     << OutputPath(request.outputDir, request.outputFile) << '\n'
                     << std::flush;
    if (report) {
        try {
            reportFile.close();
        } catch (const FileError& error) {
            messages.show("Report",
                          "The change report could not be written: " + std::string(error.what()),
                          MsgButtons::Ok, MsgIcon::Critical);
            return kExitExportFailed;
        }
    }
    if (written > 0) {
        services.err << ChangeSummary(collected.counts()) << '\n';
        if (report)
            services.err << "See " << TerminalText(parsed.get("--report")) << ".\n";
        services.err << std::flush;
    }
    if (count < 0)
        return kExitExportFailed;
    return count == 0 ? kExitNoRecords : kExitRecordsWritten;
}

} // namespace

std::string UsageText() {
    return "Usage:\n"
           "  addrix                      open the wizard\n"
           "  addrix export --source ivro [--input FILE] [--dir DIR] [--file NAME]\n"
           "                [--max-records N] [--report FILE]\n"
           "  addrix export --source galder --port N [--email work|home|alternate]\n"
           "                [--dir DIR] [--file NAME] [--max-records N] [--report FILE]\n"
           "  addrix --help | --version\n"
           "\n"
           "Turns an address book into a Norvik address-book file (CSV).\n"
           "\n"
           "Options of export:\n"
           "  --source ivro      read an Ivro backup file (*.adr)\n"
           "  --input FILE       the Ivro backup file\n"
           "  --source galder    read a Galder device in its cradle\n"
           "  --port N           the serial port of the cradle: COM1 is 1\n"
           "  --email COLUMN     where the device's e-mail goes: work, home or alternate\n"
           "                     (alternate writes it nowhere)\n"
           "  --dir DIR          folder of the output file\n"
           "  --file NAME        name of the output file\n"
           "  --max-records N    most records to export (the MaxDeviceRecords setting)\n"
           "  --report FILE      write every change the Norvik's columns make to FILE (CSV)\n"
           "\n"
           "An option not given takes the value the wizard would show: the settings\n"
           "file beside the program (addrix.INI), then the program folder and\n"
           "\"NorvikaddressBook.csv\". Where the program folder cannot be written,\n"
           "the user's own addrix.INI is read first\n"
           "(" ADDRIX_USER_SETTINGS_FOLDER ")\n"
           "and the output goes to the documents folder. The settings file is never\n"
           "written.\n"
           "\n"
           "Where the system has no COM ports of its own, COM numbers go to the serial\n"
           "devices present (ttyS with a UART, then ttyUSB, then ttyACM) unless the\n"
           "[Ports] section of the settings file names them, e.g. COM1=/dev/ttyUSB0.\n"
           "Ctrl-C cancels a download; the records received so far stay in the file.\n"
           "\n"
           "Exit status: 0 records written, 1 no records, 2 export failed, 64 usage error.\n";
}

int RunCommandLine(const std::vector<std::string>& args, CommandLineServices& services) {
    try {
        if (args.empty())
            throw UsageError{"no command given"};
        const std::string& command = args[0];
        if (command == "--help" || command == "-h" || command == "help") {
            services.out << UsageText();
            return kExitRecordsWritten;
        }
        if (command == "--version") {
            services.out << "Addrix " << ADDRIX_VERSION_MAJOR << '.' << ADDRIX_VERSION_MINOR << '.'
                         << ADDRIX_VERSION_PATCH << '\n';
            return kExitRecordsWritten;
        }
        if (command == "export") {
            try {
                return RunExport(args, services);
            } catch (const HelpRequested&) {
                services.out << UsageText();
                return kExitRecordsWritten;
            }
        }
        throw UsageError{"unknown command '" + command + "'"};
    } catch (const UsageError& error) {
        // The reason echoes what was typed.
        services.err << "addrix: " << TerminalText(error.reason) << " (see addrix --help)\n"
                     << std::flush;
        return kExitUsage;
    }
}

} // namespace addrix

#include "app/cli/CommandLine.h"

#include "app/cli/ConsoleMessageBox.h"
#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "platform/InterruptSignal.h"
#include "platform/NumberText.h"
#include "platform/SettingsLocation.h"
#include "platform/Text.h"
#include "wizard/EmailColumns.h"
#include "wizard/ExportSession.h"
#include "wizard/WizardStartup.h"
#include "wizard/WizardTexts.h"

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
    for (int i = 0; i < kEmailColumnCount; ++i)
        if (choice == kEmailColumns[i].option)
            return i;
    throw UsageError{"--email takes work, home or alternate"};
}

// The command line's options in place of the wizard's controls: an option
// not given takes the value the wizard would show.
class CommandLineForm final : public IWizardForm {
public:
    CommandLineForm(const ExportArgs& args, const Choices& saved) {
        m_dir = args.has("--dir") ? args.get("--dir") : *saved.ExportPath;
        m_fileName = args.has("--file") ? args.get("--file") : *saved.ExportFile;
        m_ivroFile = args.has("--input") ? args.get("--input") : *saved.IvroFile;
        if (args.has("--port"))
            m_port = PortNumber(args.get("--port"));
        // Without --email, the wizard's last choice; 0 when the settings hold none.
        m_email = args.has("--email")
                      ? EmailPosition(args.get("--email"))
                      : ListPosition(saved.GalderEmail, kEmailColumnCount).value_or(0);
    }
    std::string txtDir() const override { return m_dir; }
    std::string txtFileName() const override { return m_fileName; }
    std::string txtIvroFile() const override { return m_ivroFile; }
    int lstGalderCommPortIndex() const override { return m_port ? 0 : -1; }
    int lstGalderCommPortCount() const override { return m_port ? 1 : 0; }
    int lstGalderCommPortItemData(int) const override { return m_port; }
    int lstGalderEmailIndex() const override { return m_email; }

private:
    std::string m_dir, m_fileName, m_ivroFile;
    int m_port = 0;
    int m_email = 0;
};

// The source --source names, with the options that go with it checked.
ExportSource CheckedSource(const ExportArgs& parsed, const CommandLineServices& services) {
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
    return *source;
}

// What an export ends with on the two streams, and its exit status.
int ShowOutcome(const ExportOutcome& outcome, const ExportArgs& parsed,
                CommandLineServices& services) {
    const bool placed = outcome.result > 0 && outcome.reportError.empty();
    if (placed)
        services.out << outcome.result
                     << (outcome.result == 1 ? " record exported." : " records exported.") << '\n'
                     << outcome.outputPath << '\n'
                     << std::flush;
    if (!outcome.incompleteFile.empty())
        services.err << TerminalText(KeptContactsText(outcome.contacts, outcome.incompleteFile))
                     << '\n'
                     << TerminalText(outcome.outputPath) << " was not changed.\n";
    if (outcome.outputKept)
        services.err << "No contacts: " << TerminalText(outcome.outputPath)
                     << " was not changed.\n";
    if (outcome.contacts > 0) {
        services.err << ChangeSummary(outcome.changes) << '\n';
        if (placed && parsed.has("--report"))
            services.err << "See " << TerminalText(parsed.get("--report")) << ".\n";
    }
    services.err << std::flush;
    if (outcome.result < 0 || !outcome.reportError.empty())
        return kExitExportFailed;
    return outcome.result == 0 ? kExitNoRecords : kExitRecordsWritten;
}

// `addrix export ...`: one export session with the options in place of the
// wizard's controls; its exit status.
int ExportCommand(const std::vector<std::string>& args, CommandLineServices& services) {
    const ExportArgs parsed = ParseExportArgs(args);
    const ExportSource source = CheckedSource(parsed, services);
    const SavedSettings saved =
        LoadSettingsWithDefaults(services.ini, services.program, services.files,
                                 {services.defaultIvroFile, services.documentsFolder});
    const CommandLineForm form(parsed, saved.choices);
    ExportOptions options;
    if (parsed.has("--max-records"))
        options.maxRecords = MaxRecords(parsed.get("--max-records"));
    if (parsed.has("--report"))
        options.reportFile = parsed.get("--report");

    std::unique_ptr<IGalderDownloadWindow> galderWindow;
    if (source == ExportSource::Galder)
        galderWindow = services.galderWindow();
    ConsoleMessageBox messages(services.err);
    ExportServices exportServices{messages, saved.settings, galderWindow.get()};
    exportServices.ownFiles = services.ownFiles;
    // Ctrl-C, a polite kill or a hang-up ends a conversion through its
    // failure path: the output stays as it was, the contacts read are kept
    // apart and nothing temporary stays. The Galder download watches for
    // them itself.
    std::optional<InterruptSignal> interrupt;
    if (source == ExportSource::Ivro) {
        interrupt.emplace();
        exportServices.cancelled = [&interrupt] {
            return interrupt->takePending();
        };
    }
    const ExportOutcome outcome = ExportSession(exportServices, options).run(source, form);
    interrupt.reset();
    return ShowOutcome(outcome, parsed, services);
}

} // namespace

std::string UsageText() {
    return std::string(
               "Usage:\n"
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
               "(") +
           UserSettingsFolderHint() +
           ")\n"
           "and the output goes to the documents folder. The settings file is never\n"
           "written.\n"
           "\n"
           "Where the system has no COM ports of its own, COM numbers go to the serial\n"
           "devices present (ttyS with a UART, then ttyUSB, then ttyACM) unless the\n"
           "[Ports] section of the settings file names them, e.g. COM1=/dev/ttyUSB0.\n"
           "The output is replaced only by an export that ended well. After a failure\n"
           "or Ctrl-C it is left as it was, and the contacts read so far are kept in\n"
           "NAME.incomplete.csv beside it.\n"
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
                return ExportCommand(args, services);
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

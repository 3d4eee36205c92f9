#include "app/cli/CommandLine.h"

#include "app/cli/ConsoleMessageBox.h"
#include "app/cli/PositionsFile.h"
#include "contact/ContactList.h"
#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "platform/InterruptSignal.h"
#include "platform/NumberText.h"
#include "platform/SettingsLocation.h"
#include "platform/Text.h"
#include "wizard/ContactsSession.h"
#include "wizard/EmailColumns.h"
#include "wizard/WizardStartup.h"
#include "wizard/WizardTexts.h"

#include <algorithm>
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

// The options of a command: those that take a value, and the flags.
struct CommandOptions {
    std::vector<std::string_view> values;
    std::vector<std::string_view> flags;
};

const CommandOptions kExportOptions = {{"--source", "--input", "--dir", "--file", "--max-records",
                                        "--port", "--email", "--report", "--only"},
                                       {"--merge-duplicates"}};
const CommandOptions kListOptions = {{"--source", "--input", "--port", "--email"}, {}};

bool Names(const std::vector<std::string_view>& options, const std::string& name) {
    return std::find(options.begin(), options.end(), name) != options.end();
}

// The options after the command's name; a flag's value is "".
ExportArgs ParseArgs(const std::vector<std::string>& args, const CommandOptions& options) {
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
        const bool flag = Names(options.flags, name);
        if (!flag && !Names(options.values, name))
            throw UsageError{"unknown option '" + name + "'"};
        if (flag && value)
            throw UsageError{"option '" + name + "' takes no value"};
        if (!flag && !value) {
            if (i + 1 >= args.size())
                throw UsageError{"option '" + name + "' needs a value"};
            value = args[++i];
        }
        if (parsed.has(name))
            throw UsageError{"option '" + name + "' is given twice"};
        parsed.values[name] = value.value_or("");
    }
    if (!parsed.has("--source"))
        throw UsageError{args[0] + " needs --source ivro or --source galder"};
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

// What a command sets up before its session: the settings with the wizard's
// defaults, the options in place of the wizard's controls, the download
// without a window, the boxes on standard error, and Ctrl-C.
class SessionSetup {
public:
    SessionSetup(const ExportArgs& parsed, ExportSource source, CommandLineServices& services)
        : m_saved(LoadSettingsWithDefaults(services.ini, services.program, services.files,
                                           {services.defaultIvroFile, services.documentsFolder})),
          m_form(parsed, m_saved.choices), m_messages(services.err), m_ownFiles(services.ownFiles) {
        if (source == ExportSource::Galder)
            m_galderWindow = services.galderWindow();
        // Ctrl-C, a polite kill or a hang-up ends a conversion through its
        // failure path: the output stays as it was, the contacts read are
        // kept apart and nothing temporary stays. The Galder download
        // watches for them itself.
        if (source == ExportSource::Ivro)
            m_interrupt.emplace();
    }
    const IWizardForm& form() const { return m_form; }
    ExportServices services() {
        ExportServices services{m_messages, m_saved.settings, m_galderWindow.get()};
        services.ownFiles = m_ownFiles;
        if (m_interrupt)
            services.cancelled = [this] {
                return m_interrupt->takePending();
            };
        return services;
    }
    // Ctrl-C ends the program again.
    void finish() { m_interrupt.reset(); }

private:
    SavedSettings m_saved;
    CommandLineForm m_form;
    ConsoleMessageBox m_messages;
    std::vector<std::string> m_ownFiles;
    std::unique_ptr<IGalderDownloadWindow> m_galderWindow;
    std::optional<InterruptSignal> m_interrupt;
};

// The usage error for positions a source lacks: the first ten of them.
UsageError Lacking(const std::vector<std::int64_t>& lacking) {
    constexpr std::size_t kNamed = 10;
    std::string text = "--only names positions the source lacks:";
    for (std::size_t i = 0; i < lacking.size() && i < kNamed; ++i)
        text += (i ? ", " : " ") + std::to_string(lacking[i]);
    if (lacking.size() > kNamed)
        text += " and " + std::to_string(lacking.size() - kNamed) + " more";
    return UsageError{text};
}

// `addrix export ...`: one export with the options in place of the wizard's
// controls, and the user's choice of contacts; its exit status.
int ExportCommand(const std::vector<std::string>& args, CommandLineServices& services) {
    const ExportArgs parsed = ParseArgs(args, kExportOptions);
    const ExportSource source = CheckedSource(parsed, services);
    ExportOptions options;
    if (parsed.has("--max-records"))
        options.maxRecords = MaxRecords(parsed.get("--max-records"));
    if (parsed.has("--report"))
        options.reportFile = parsed.get("--report");
    ContactChoice choice;
    choice.mergeDuplicates = parsed.has("--merge-duplicates");
    if (parsed.has("--only")) {
        try {
            choice.only = ReadPositionsFile(parsed.get("--only"));
        } catch (const PositionsFileError& error) {
            throw UsageError{"--only: " + std::string(error.what())};
        }
    }
    SessionSetup setup(parsed, source, services);
    const ExportOutcome outcome =
        ContactsSession(setup.services(), options).run(source, setup.form(), choice);
    setup.finish();
    if (!outcome.lacking.empty())
        throw Lacking(outcome.lacking);
    return ShowOutcome(outcome, parsed, services);
}

// `addrix list ...`: every contact of the source as CSV on standard output,
// with its duplicate group; its exit status.
int ListCommand(const std::vector<std::string>& args, CommandLineServices& services) {
    const ExportArgs parsed = ParseArgs(args, kListOptions);
    const ExportSource source = CheckedSource(parsed, services);
    SessionSetup setup(parsed, source, services);
    ContactsSession session(setup.services());
    const RecordCount count = session.read(source, setup.form());
    setup.finish();
    if (count < 0)
        return kExitExportFailed;
    const std::vector<std::int64_t> firsts = session.duplicates();
    const std::vector<ListedContact>& contacts = session.contacts().contacts();
    services.out << kContactListHeader << '\n';
    for (std::size_t i = 0; i < contacts.size(); ++i)
        services.out << ContactListLine(contacts[i], firsts[i]) << '\n';
    services.out << std::flush;
    return count == 0 ? kExitNoRecords : kExitRecordsWritten;
}

} // namespace

std::string UsageText() {
    return std::string(
               "Usage: addrix [--help | --version]\n"
               "  or:  addrix export --source ivro [--input FILE] [OPTION]...\n"
               "  or:  addrix export --source galder --port N [--email COLUMN] [OPTION]...\n"
               "  or:  addrix list --source ivro [--input FILE]\n"
               "  or:  addrix list --source galder --port N [--email COLUMN]\n"
               "\n"
               "Without arguments addrix opens the wizard. Otherwise it turns an address\n"
               "book into a Norvik address-book file (CSV), or lists its contacts.\n"
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
               "  --only FILE        export only the contacts at the positions FILE lists, one\n"
               "                     a line or the first column of list's output; the others\n"
               "                     are reported \"left out\"\n"
               "  --merge-duplicates merge each group of duplicates into its first contact\n"
               "                     before the record limit applies\n"
               "\n"
               "list prints every contact of the source as CSV on standard output:\n"
               "POSITION (the backup's line or the device's record, as in the report), the\n"
               "names, company, phones and e-mails as they would be written, and\n"
               "DUPLICATE_OF, the position of the first contact of the contact's group of\n"
               "duplicates. Duplicates have the same first and last names (ignoring case\n"
               "and runs of blanks) and share a phone number (digits only) or an e-mail\n"
               "address, or one of them has neither. Merging fills the first contact's\n"
               "empty columns from the others; a value that differs is reported \"merged\".\n"
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
           "Exit status: 0 records written, 1 no records, 2 export failed, 64 usage error\n"
           "(for list: contacts listed, none, the reading failed).\n";
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
        if (command == "export" || command == "list") {
            try {
                return command == "list" ? ListCommand(args, services)
                                         : ExportCommand(args, services);
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

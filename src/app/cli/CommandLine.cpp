#include "app/cli/CommandLine.h"

#include "app/cli/ConsoleMessageBox.h"
#include "export/ExportDriver.h"
#include "export/IWizardForm.h"
#include "export/NumberText.h"
#include "galder/GalderExportJob.h"
#include "platform/IFileSystem.h"
#include "platform/SettingsLocation.h"
#include "settings/Settings.h"

#include <map>
#include <optional>
#include <ostream>

namespace addrix {

namespace {

constexpr const char* kDefaultExportFile = "NorvikaddressBook.csv";

// Where the user's own settings file lies, for the help text.
#ifdef _WIN32
#define ADDRIX_USER_SETTINGS_FOLDER "%APPDATA%\\addrix"
#else
#define ADDRIX_USER_SETTINGS_FOLDER "$XDG_CONFIG_HOME/addrix, by default ~/.config/addrix"
#endif

struct UsageError {
    std::string reason;
};

struct ExportArgs {
    std::map<std::string, std::string> values; // option name -> value as given
    bool has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& get(const std::string& name) const { return values.at(name); }
};

// Options of `addrix export` that take a value.
const char* const kExportOptions[] = {"--source",      "--input", "--dir",  "--file",
                                      "--max-records", "--port",  "--email"};

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

// The values the wizard would show: the settings file, then its defaults.
void LoadWizardValues(FormValues& form, Settings& settings, CommandLineServices& services) {
    const std::string programDir = services.program.programDir();
    LoadSettings(form, settings, services.ini, SettingsFilePath(services.program));
    if (form.dir.empty() || !services.files.pathExists(form.dir))
        form.dir = DefaultExportFolder(programDir, services.files, services.documentsFolder);
    if (form.fileName.empty())
        form.fileName = kDefaultExportFile;
    if (form.ivroFile.empty() && services.defaultIvroFile)
        form.ivroFile = services.defaultIvroFile();
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

// The position of --email in the e-mail column list.
int EmailPosition(std::string text) {
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const char* const choices[] = {"work", "home", "alternate"};
    for (int i = 0; i < 3; ++i)
        if (text == choices[i])
            return i;
    throw UsageError{"--email takes work, home or alternate"};
}

int RunExport(const std::vector<std::string>& args, CommandLineServices& services) {
    const ExportArgs parsed = ParseExportArgs(args);
    std::string source = parsed.get("--source");
    for (char& c : source)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (source != "ivro" && source != "galder")
        throw UsageError{"unknown source '" + parsed.get("--source") + "'"};
    if (source == "ivro" && (parsed.has("--port") || parsed.has("--email")))
        throw UsageError{"--port and --email belong to --source galder"};
    if (source == "galder" && parsed.has("--input"))
        throw UsageError{"--input belongs to --source ivro"};
    if (source == "galder" && !services.galderWindow)
        throw UsageError{"this build cannot read a Galder device"};
    if (source == "galder" && !parsed.has("--port"))
        throw UsageError{"--source galder needs --port N, the COM number of the cradle"};
    const int port = source == "galder" ? PortNumber(parsed.get("--port")) : 0;
    const int email = parsed.has("--email") ? EmailPosition(parsed.get("--email")) : -1;

    FormValues form;
    form.emailIndex = 0;
    Settings settings;
    LoadWizardValues(form, settings, services);
    if (parsed.has("--dir"))
        form.dir = parsed.get("--dir");
    if (parsed.has("--file"))
        form.fileName = parsed.get("--file");
    if (parsed.has("--input"))
        form.ivroFile = parsed.get("--input");
    if (parsed.has("--max-records"))
        settings.MaxDeviceRecords = NumericValue(parsed.get("--max-records"));
    std::unique_ptr<IGalderDownloadWindow> galderWindow;
    if (source == "galder") {
        // The port list holds the one port asked for, selected.
        form.ports = {port};
        form.portIndex = 0;
        if (email >= 0)
            form.emailIndex = email;
        galderWindow = services.galderWindow(settings);
    }

    ConsoleMessageBox messages(services.err);
    ExportContext context{messages, settings, galderWindow.get()};
    const RecordCount count = DoExport(source, form, context);
    if (count < 0)
        return kExitExportFailed;
    if (count == 0)
        return kExitNoRecords;
    services.out << count << (count == 1 ? " record exported." : " records exported.") << '\n'
                 << OutputPath(form.dir, form.fileName) << '\n'
                 << std::flush;
    return kExitRecordsWritten;
}

} // namespace

std::string UsageText() {
    return "Usage:\n"
           "  addrix                      open the wizard\n"
           "  addrix export --source ivro [--input FILE] [--dir DIR] [--file NAME]\n"
           "                [--max-records N]\n"
           "  addrix export --source galder --port N [--email work|home|alternate]\n"
           "                [--dir DIR] [--file NAME] [--max-records N]\n"
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
        if (command == "export")
            return RunExport(args, services);
        throw UsageError{"unknown command '" + command + "'"};
    } catch (const UsageError& error) {
        // The reason echoes what was typed; control characters in it must not
        // break the one line or steer the terminal.
        std::string reason = error.reason;
        for (char& c : reason)
            if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
                c = '?';
        services.err << "addrix: " << reason << " (see addrix --help)\n" << std::flush;
        return kExitUsage;
    }
}

} // namespace addrix

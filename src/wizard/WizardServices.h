#pragma once

#include <functional>
#include <string>
#include <vector>

namespace addrix {

class IFileDialog;
class IFileSystem;
class IGalderDownloadWindow;
class IIniService;
class IMessageBox;
class IProgramLocation;
class IRegistry;
class ISerialPort;
class IShell;
class IWindowActivator;
struct Settings;

// Everything the wizard window reaches outside itself. The program supplies
// the real services; tests supply fakes.
struct WizardServices {
    IMessageBox& messages;
    const IFileSystem& files;
    const IProgramLocation& program;
    IIniService& ini;
    const IRegistry& registry;
    // The port FillPortList probes: the download window's serial port.
    ISerialPort& probePort;
    // Runs the Galder download; without one the Galder source writes nothing.
    IGalderDownloadWindow* galderWindow;
    IShell& shell;
    IWindowActivator& activator;
    IFileDialog& fileDialog;
    // The module variables the settings file feeds, shared with the download.
    Settings& settings;
    // Ends the program once the wizard has been unloaded.
    std::function<void()> endProgram;
    // The program's own files (settings, trace), which no file the user
    // names may replace.
    std::vector<std::string> ownFiles = {};
};

} // namespace addrix

#pragma once

#include <string>

namespace addrix {

class IFileDialog;
class IFileSystem;
class IMessageBox;
class IProgramLocation;
class IShell;
class IWindowActivator;
struct FileDialogRequest;
struct Settings;

inline constexpr const char* kNorvikMgrDefaultPath =
    "C:\\Program Files\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
inline constexpr const char* kNorvikMgrWindowTitle = "Norvik Manager";

// Gives KestleEXEFilePath its default when it names no file.
void CheckKestleMgrPath(Settings& settings, const IFileSystem& files);
// Gives NorvikEXEFilePath its default (or the "Program Files (x86)" one) when
// it names no file.
void CheckNorvikMgrPath(Settings& settings, const IFileSystem& files);

// What the launch needs from the platform. `locateDialog` is the wizard's
// output-file dialog state (CommonDialog1): the launch changes its title,
// filter, extension and folder and keeps its file name and flags.
struct LaunchServices {
    IWindowActivator& windows;
    IShell& shell;
    IMessageBox& messages;
    IFileDialog& dialog;
    FileDialogRequest& locateDialog;
    const IFileSystem& files;
    const IProgramLocation& program;
};

// Brings a running Norvik Manager to the front or starts it, asking the user
// to locate the program when it cannot be started. Never waits for it.
void LaunchNorvikMgr(Settings& settings, LaunchServices& services);

} // namespace addrix

#pragma once

#include <string>

namespace addrix {

class IFileSystem;
struct FileDialogRequest;
struct Settings;
struct WizardServices;

inline constexpr const char* kNorvikMgrDefaultPath =
    "C:\\Program Files\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
inline constexpr const char* kNorvikMgrWindowTitle = "Norvik Manager";

// Gives KestleEXEFilePath its default when it names no file.
void CheckKestleMgrPath(Settings& settings, const IFileSystem& files);
// Gives NorvikEXEFilePath its default (or the "Program Files (x86)" one) when
// it names no file.
void CheckNorvikMgrPath(Settings& settings, const IFileSystem& files);

// Brings a running Norvik Manager to the front or starts it, asking the user
// to locate the program when it cannot be started; a located program is kept
// in the settings' NorvikEXEFilePath. Never waits for it. `locateDialog` is
// the wizard's output-file dialog state (CommonDialog1): the launch changes
// its title, filter, extension and folder and keeps its file name and flags.
void LaunchNorvikMgr(WizardServices& services, FileDialogRequest& locateDialog);

} // namespace addrix

#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace addrix {

// Paths travel through the program as bytes in the system's own encoding:
// on Windows its code page, elsewhere whatever the file system holds. These
// are the one place that hands them to the system.

// `path` as the library's path type.
std::filesystem::path ToFsPath(const std::string& path);

// std::fopen of `path` (on Windows through the wide call, so that names
// outside ASCII open).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);
std::FILE* OpenFile(const std::string& path, const char* mode);

// How a file is opened for writing.
enum class OpenAs {
    Replace,   // created, or emptied when it exists
    CreateNew, // created; fails when something of that name exists
    Append,    // created when absent; fails on a symbolic link, whose target is elsewhere
    Device,    // an existing device
};

// Opens `path` for writing in binary mode, never waiting for a reader or a
// device to be ready; nullptr with errno set on failure.
std::FILE* OpenForWriting(const std::filesystem::path& path, OpenAs how);

// A suffix for a temporary file's name that no other run picks.
std::string TempFileSuffix();

// Renames `from` over `to`, replacing it. On Windows another program may hold
// `to` open for a moment: the rename is retried for about a second.
bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Gives `from` the name `to` only while nothing has that name; false with
// errno set (EEXIST when something had it).
bool MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

// True when `a` and `b` name one file, however spelt: through links, `..` or
// a relative path, or (both existing) as the same file by its identity.
bool NamesSameFile(const std::string& a, const std::string& b);

// Makes the bytes handed to `file` reach the disk; 0, or the errno of the failure.
int SyncToDisk(std::FILE* file);

// This process's id; whether the process of `id` has ended (false when that
// cannot be told).
long CurrentProcessId();
bool ProcessHasEnded(long id);

} // namespace addrix

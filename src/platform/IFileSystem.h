#pragma once

#include <string>

namespace addrix {

// File tests on paths given as the program's bytes.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when an ordinary file (not a folder) exists at `path`.
    virtual bool fileExists(const std::string& path) const = 0;
    // True when a file or a folder exists at `path`.
    virtual bool pathExists(const std::string& path) const = 0;
    // True when this program may change the file at `path`, or create files
    // in the folder at `path`; false also when nothing is there.
    virtual bool canWrite(const std::string& path) const = 0;
    // Makes the folder `path` with the folders above it that are missing;
    // true when it exists afterwards. The file system's contents are not
    // the object's state, so this is a const call like the tests above.
    virtual bool makeFolder(const std::string& path) const = 0;
};

// Where the running program lives.
class IProgramLocation {
public:
    virtual ~IProgramLocation() = default;
    // The folder that holds the executable, without a trailing separator.
    virtual std::string programDir() const = 0;
    // The executable's file name without folder and extension ("addrix").
    virtual std::string exeName() const = 0;
};

} // namespace addrix

#pragma once

#include "platform/IIniService.h"

#include <memory>

namespace addrix {

// Initialisation files on disk, read and written as bytes.
//
// Reading: a line whose first non-blank character is "[" starts a section
// (the name runs to the first "]"); a line whose first non-blank character is
// ";" is a comment; any other line with "=" holds a key. Blanks (spaces and
// tabs) around section names, keys and values are dropped, and a value
// enclosed in a pair of the same quotes (" or ') loses them. Names match
// without regard to case; the first section of a name and the first key of a
// name in it count. Lines end in LF or CR LF.
//
// Writing: an existing key's line is replaced where it stands; a new key goes
// after the last non-blank line of its section; a new section goes at the end
// of the file. Every other byte of the file stays as it was. Written lines end
// in CR LF. A value that reading would change (blanks at either end, or a pair
// of quotes around it) is written inside double quotes, so it reads back as
// given. The new file is written beside the old one and renamed over it, so a
// failure leaves the old file whole.
//
// A file is parsed once and kept until its size or modification time
// changes, so that many reads of a large file cost one parse. Only ordinary
// files are read: a pipe or a device reads as no file at all.
class IniFile final : public IIniService {
public:
    IniFile();
    ~IniFile() override;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) const override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override;

    // How many times a file was read and parsed, for the tests.
    std::size_t parseCount() const;

private:
    struct Cache;
    std::unique_ptr<Cache> m_cache;
};

} // namespace addrix

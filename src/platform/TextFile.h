#pragma once

#include "platform/FilePath.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace addrix {

// Where a source writes its lines: the open output file.
class ILineSink {
public:
    virtual ~ILineSink() = default;
    // Appends `line` and CR LF. Throws FileError when the bytes cannot be written.
    virtual void writeLine(const std::string& line) = 0;
    // Pushes buffered lines to the disk. Throws FileError on failure.
    virtual void flush() = 0;
};

// A failure of a file operation, described for the user.
class FileError : public std::exception {
public:
    explicit FileError(std::string description) : m_description(std::move(description)) {}
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    std::string m_description;
};

// Output text file, opened for writing (an existing file is emptied).
class TextFileWriter final : public ILineSink {
public:
    TextFileWriter() = default;
    ~TextFileWriter() override;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Creates or empties `path`. Throws FileError when it cannot be opened.
    void open(const std::string& path);
    // Opens `path` for appending, creating it when absent; a symbolic link
    // is refused. Throws FileError.
    void openForAppend(const std::string& path);
    // Opens `path` as `how` says; messages name `shownAs` when given (a
    // temporary file standing in for it). Throws FileError.
    void open(const std::string& path, OpenAs how, const std::string& shownAs = {});
    bool isOpen() const { return m_file != nullptr; }
    void writeLine(const std::string& line) override;
    // Writes bytes exactly as given, with no line end.
    void write(const std::string& bytes);
    void flush() override;
    // Closes the file; throws FileError when buffered bytes could not be written.
    // The file is closed either way.
    void close();

private:
    // Hands the buffered bytes to the file; the errno of a failure, else 0.
    int drain();

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_pending; // bytes not yet handed to the file
};

// Input text file read line by line: a line ends at CR or at CR LF; a lone LF
// belongs to the line's text. A file whose first read buffer holds LFs but no
// CR at all is read with LF line ends. It holds at most one read buffer of
// the file, however long a line is.
class TextFileReader final {
public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Throws FileError when `path` is missing, unreadable or no ordinary
    // file (a folder, a pipe, a device).
    void open(const std::string& path);
    // Reads the next line into `line`; false at the end of the file.
    // Throws FileError on a read error.
    bool readLine(std::string& line);
    // Reads the next piece of a line: the whole line (without its end) when
    // it fits the read buffer, else the line in several pieces of which only
    // the last has `lineEnds` set. The piece stays valid until the next read.
    // False at the end of the file. Throws FileError on a read error.
    bool readPiece(std::string_view& piece, bool& lineEnds);
    void close();

private:
    // Moves the unread bytes to the front and reads more behind them.
    void fill();

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_begin = 0; // first unread byte
    std::size_t m_end = 0;   // end of the bytes read
    std::size_t m_noCr = 0;  // bytes from m_begin known to hold no CR
    bool m_eof = false;
    bool m_inLine = false;    // a piece of the current line was handed out
    bool m_lfEnds = false;    // a CR ended the last line; an LF next belongs to it
    bool m_endsKnown = false; // the line end was chosen, at the first read
    char m_lineEnd = '\r';
};

// The user-facing description of a failed file operation, from errno.
std::string DescribeFileError(int errorNumber, const std::string& path);

} // namespace addrix

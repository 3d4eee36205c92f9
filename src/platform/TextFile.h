#pragma once

#include <cstdio>
#include <string>

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
    // Opens `path` for appending, creating it when absent. Throws FileError.
    void openForAppend(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }
    void writeLine(const std::string& line) override;
    // Writes bytes exactly as given, with no line end.
    void write(const std::string& bytes);
    void flush() override;
    // Closes the file; throws FileError when buffered bytes could not be written.
    // The file is closed either way.
    void close();

private:
    void openWithMode(const std::string& path, const char* mode);

    std::FILE* m_file = nullptr;
    std::string m_path;
};

// Input text file read line by line: a line ends at CR or at CR LF; a lone LF
// belongs to the line's text.
class TextFileReader final {
public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Throws FileError when `path` is missing, a folder or unreadable.
    void open(const std::string& path);
    // Reads the next line into `line`; false at the end of the file.
    // Throws FileError on a read error.
    bool readLine(std::string& line);
    void close();

private:
    bool fill();

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_buffer;
    std::size_t m_pos = 0;
    bool m_eof = false;
};

// The user-facing description of a failed file operation, from errno.
std::string DescribeFileError(int errorNumber, const std::string& path);

} // namespace addrix

#pragma once

#include "contact/ChangeReport.h"
#include "platform/Environment.h"
#include "platform/IClock.h"
#include "platform/IFileSystem.h"
#include "platform/IMessageBox.h"
#include "platform/ISerialPort.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace addrix::test {

// Line 1 of a Norvik address-book file, as the Norvik Manager reads it.
inline const std::string kNorvikHeader =
    "CONTACT_ID,ENTRY_INDEX,GROUP_OR_PERSONAL,FIRST_NAME,LAST_NAME,WIRELESS_ADDRESS,WORK_EMAIL,"
    "HOME_EMAIL,DEFAULT_ADDRESS,GROUP_OF_WIRELESS_ADDRESS,GROUP_OF_WORK_EMAIL,GROUP_OF_HOME_EMAIL,"
    "COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,FAX,STREET,CITY,STATE,ZIP,NOTE";

// The next answer of a script, or `otherwise` once it has run out.
template <typename T> T NextAnswer(std::deque<T>& script, T otherwise) {
    if (script.empty())
        return otherwise;
    T answer = script.front();
    script.pop_front();
    return answer;
}

// A message box that records every box and answers from a script (Yes when
// the script is empty for a question, OK otherwise).
class FakeMessageBox final : public IMessageBox {
public:
    struct Shown {
        std::string caption;
        std::string text;
        MsgButtons buttons;
        MsgIcon icon;
    };
    std::vector<Shown> shown;
    std::deque<MsgAnswer> answers;

    MsgAnswer show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.push_back({caption, text, buttons, icon});
        return NextAnswer(answers, buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok);
    }
};

// Collects the lines written, in memory.
class MemorySink final : public ILineSink {
public:
    std::vector<std::string> lines;
    void writeLine(const std::string& line) override { lines.push_back(line); }
    void flush() override {}
};

// Accepts `okLines` lines, then fails every write as a full disk does; with
// `flushFails`, every flush fails so.
class FailingSink final : public ILineSink {
public:
    explicit FailingSink(std::size_t okLines, bool flushFails = false)
        : m_okLines(okLines), m_flushFails(flushFails) {}
    std::vector<std::string> lines;
    void writeLine(const std::string& line) override {
        if (lines.size() >= m_okLines)
            throw FileError(DescribeFileError(ENOSPC, "test sink"));
        lines.push_back(line);
    }
    void flush() override {
        if (m_flushFails)
            throw FileError(DescribeFileError(ENOSPC, "test sink"));
    }

private:
    std::size_t m_okLines;
    bool m_flushFails;
};

// A serial port in memory. It opens as `openResult` says or, where `ports`
// is set, as it says for each port number (the others do not exist);
// readAll() hands out what the test put in `incoming`, at most `readChunk`
// bytes at a time (0: all).
class FakeSerialPort final : public ISerialPort {
public:
    SerialOpenResult openResult{SerialOpenResult::Status::Opened, {}};
    std::map<int, SerialOpenResult::Status> ports;
    std::vector<int> opened; // every port number asked for
    std::size_t readChunk = 0;
    std::string incoming;
    std::vector<std::string> writes;
    int writesWhileClosed = 0;

    SerialOpenResult open(int portNumber) override {
        opened.push_back(portNumber);
        SerialOpenResult result = openResult;
        if (!ports.empty()) {
            const auto it = ports.find(portNumber);
            result = {it == ports.end() ? SerialOpenResult::Status::NoSuchPort : it->second, {}};
        }
        m_open = result.ok();
        return result;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const std::string& bytes) override {
        if (m_open)
            writes.push_back(bytes);
        else
            ++writesWhileClosed;
        return m_open;
    }
    std::string readAll() override {
        const std::size_t take = readChunk ? std::min(readChunk, incoming.size()) : incoming.size();
        std::string out = incoming.substr(0, take);
        incoming.erase(0, take);
        return out;
    }

private:
    bool m_open = false;
};

// A clock that moves only when told to.
class FakeClock final : public IClock {
public:
    Clock::time_point now() const override { return m_now; }
    void advance(std::chrono::milliseconds by) { m_now += by; }

private:
    Clock::time_point m_now{std::chrono::hours(24 * 365)};
};

// A program folder and name chosen by the test.
class FakeProgramLocation final : public IProgramLocation {
public:
    FakeProgramLocation(std::string dir, std::string name)
        : m_dir(std::move(dir)), m_name(std::move(name)) {}
    std::string programDir() const override { return m_dir; }
    std::string exeName() const override { return m_name; }

private:
    std::string m_dir;
    std::string m_name;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // `name` inside the folder.
    std::string file(const std::string& name) const {
        return (std::filesystem::path(m_path) / name).string();
    }
    // Writes `bytes` to `name` inside the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

// The whole content of the file at `path` ("" when it cannot be read).
std::string ReadFile(const std::string& path);

// The rows of the change report, each as the report file writes it.
struct ReportRows final : IChangeSink {
    std::vector<std::string> lines;
    void add(const Change& change) override { lines.push_back(ChangeReportLine(change)); }
};

// An Ivro backup file's text: the header line and `entries` entries of 24
// fields, the first names P1, P2 ...
std::string IvroBackup(int entries);

// How many entries the folder at `path` holds.
std::ptrdiff_t EntryCount(const std::string& path);

// An environment of just `variables`.
EnvLookup Env(std::map<std::string, std::string> variables);

// `text` split at CR LF; a last line without one is kept too.
std::vector<std::string> SplitCrLf(const std::string& text);

// Runs `check` in a child process as a user without privileges (nobody, when
// the tests run as root, as CI does), so that permissions bind; true when the
// check held there. Not on Windows.
bool HoldsUnprivileged(const std::function<bool()>& check);

} // namespace addrix::test

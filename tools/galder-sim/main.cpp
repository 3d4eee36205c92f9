// galder-sim: plays a Galder device in its programming cradle on a
// pseudo-terminal (or a real serial line), for trying and testing Addrix
// without the device.

#include "GalderRecordCodec.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;
using namespace galdersim;

constexpr unsigned char kWakeUp = 0xAA;
constexpr unsigned char kAck = 0x06;
// One byte at 9600 bit/s, 8N1: 10 bits.
constexpr auto kByteTime = std::chrono::nanoseconds(1000000000LL * 10 / 9600);
const std::string kIdentifyCommand("\x87\x01\x00\x00\x00\x00\x00\x00", 8);
const std::string kDownloadCommand("\x19\x30\x33\x19", 4);

const char* const kUsage =
    "Usage: galder-sim [options]\n"
    "\n"
    "Plays a Galder device for Addrix. Without --device it opens a pseudo-terminal\n"
    "and prints its path as the first line of the output; map it to a COM number\n"
    "in the [Ports] section of addrix's settings file (addrix.INI; addrix --help\n"
    "says where it is):\n"
    "\n"
    "  [Ports]\n"
    "  COM1=/dev/pts/7\n"
    "\n"
    "Options:\n"
    "  --device PATH      use this serial device (9600 8N1) instead of a pseudo-terminal\n"
    "  --contacts FILE    the contacts to play (format below)\n"
    "  --count N          play N generated contacts (default 3; at most 255)\n"
    "  --layout 1|4       record layout (default 1)\n"
    "  --disabled         identify as a permanently disabled device\n"
    "  --silent           never answer\n"
    "  --wrong-wakeup     answer the wake-up byte with 8B 8B\n"
    "  --junk             send stray bytes before the download header\n"
    "  --bad-header       send a header whose third byte is not 00\n"
    "  --corrupt          send a record out of step (a stray byte before it)\n"
    "  --pace             send at the real line rate, 9600 bit/s (1.0417 ms a byte),\n"
    "                     and take as long to hear each byte the PC sends\n"
    "  --slow N           as --pace, on a line N times slower (1 to 100)\n"
    "  --hangup-after K   close the line once K records have been acknowledged\n"
    "  --once             exit after one session\n"
    "  --stats            at the end of a session print the acknowledgement latency\n"
    "                     (last byte of a record to its 06): median, 99th percentile\n"
    "  --help             this text\n"
    "\n"
    "Contacts file: one contact a line, fields separated by TAB, in this order:\n"
    "  name, home, work, mobile, fax, email, wireless, note, second number\n"
    "Fields left off at the end are empty. Numbers hold digits only. Escapes:\n"
    "\\t \\n \\r \\\\ \\xHH. Lines starting with # and empty lines are skipped.\n"
    "A name splits into first and last name at its first blank.\n"
    "\n"
    "The exchange: 0xAA -> 8B; 87 01 00 00 00 00 00 00 -> 37-byte identification;\n"
    "19, then 19 30 33 19 -> header 06 <layout> 00 <count> and the records, each\n"
    "7F and 256 bytes, the next one only after the PC's 06.\n";

struct Options {
    std::string device;
    std::string contactsFile;
    int count = 3;
    int layout = 1;
    bool disabled = false;
    bool silent = false;
    bool wrongWakeup = false;
    bool junk = false;
    bool badHeader = false;
    bool corrupt = false;
    bool pace = false;
    int slowness = 1; // the paced line's byte time, in byte times at 9600 bit/s
    int hangupAfter = -1;
    bool once = false;
    bool stats = false;
};

[[noreturn]] void UsageError(const std::string& reason) {
    std::fprintf(stderr, "galder-sim: %s (see galder-sim --help)\n", reason.c_str());
    std::exit(64);
}

int ParseNumber(const std::string& option, const std::string& text, int low, int high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high)
        UsageError(option + " takes a number from " + std::to_string(low) + " to " +
                   std::to_string(high));
    return static_cast<int>(value);
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                UsageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--device") {
            o.device = value();
        } else if (arg == "--contacts") {
            o.contactsFile = value();
        } else if (arg == "--count") {
            const std::string text = value();
            o.count = ParseNumber(arg, text, 0, 1000000);
            if (o.count > kMostRecords)
                UsageError("a Galder holds at most 255 contacts");
        } else if (arg == "--layout") {
            o.layout = ParseNumber(arg, value(), 1, 4);
            if (o.layout != 1 && o.layout != 4)
                UsageError("--layout takes 1 or 4");
        } else if (arg == "--hangup-after") {
            o.hangupAfter = ParseNumber(arg, value(), 0, kMostRecords);
        } else if (arg == "--disabled") {
            o.disabled = true;
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--wrong-wakeup") {
            o.wrongWakeup = true;
        } else if (arg == "--junk") {
            o.junk = true;
        } else if (arg == "--bad-header") {
            o.badHeader = true;
        } else if (arg == "--corrupt") {
            o.corrupt = true;
        } else if (arg == "--pace") {
            o.pace = true;
        } else if (arg == "--slow") {
            o.pace = true;
            o.slowness = ParseNumber(arg, value(), 1, 100);
        } else if (arg == "--once") {
            o.once = true;
        } else if (arg == "--stats") {
            o.stats = true;
        } else {
            UsageError("unknown option '" + arg + "'");
        }
    }
    return o;
}

std::vector<SimContact> LoadContacts(const Options& o) {
    std::vector<SimContact> contacts;
    if (o.contactsFile.empty()) {
        for (int i = 1; i <= o.count; ++i)
            contacts.push_back(GeneratedContact(i));
        return contacts;
    }
    std::ifstream in(o.contactsFile, std::ios::binary);
    if (!in)
        UsageError("cannot read " + o.contactsFile + ": " + std::strerror(errno));
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!ParseContacts(text.str(), contacts, error))
        UsageError(o.contactsFile + ", " + error);
    if (contacts.size() > static_cast<std::size_t>(kMostRecords))
        UsageError("a Galder holds at most 255 contacts; " + o.contactsFile + " has " +
                   std::to_string(contacts.size()));
    return contacts;
}

void MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return;
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tcsetattr(fd, TCSANOW, &tio);
}

class Line {
public:
    explicit Line(const Options& o) : m_pace(o.pace), m_byteTime(kByteTime * o.slowness) {
        if (!o.device.empty()) {
            m_fd = ::open(o.device.c_str(), O_RDWR | O_NOCTTY);
            if (m_fd < 0)
                Fail("cannot open " + o.device);
            MakeRaw(m_fd);
            m_path = o.device;
            return;
        }
        m_fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0)
            Fail("cannot open a pseudo-terminal");
        const char* name = ptsname(m_fd);
        if (!name)
            Fail("cannot name the pseudo-terminal");
        m_path = name;
        // Held open, and never read, so that the line stays up between the
        // PC's sessions; it also sets the line raw for the first one.
        m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
        if (m_slave < 0)
            Fail("cannot open " + m_path);
        MakeRaw(m_slave);
    }
    ~Line() { hangUp(); }

    const std::string& path() const { return m_path; }
    bool isPty() const { return m_slave >= 0; }

    // Waits up to `timeout` for bytes from the PC; empty on time-out.
    std::string receive(std::chrono::milliseconds timeout) {
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(timeout.count()));
        if (ready < 0 && errno != EINTR)
            Fail("poll failed");
        if (ready <= 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
            return {};
        char buf[4096];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return {};
        if (n <= 0) {
            // Nobody at the other end of a real line: wait instead of spinning.
            std::this_thread::sleep_for(timeout);
            return {};
        }
        m_receivedAt = SteadyClock::now();
        // The PC's bytes take their time on a real line before the device hears them.
        if (m_pace)
            std::this_thread::sleep_for(m_byteTime * n);
        return std::string(buf, static_cast<std::size_t>(n));
    }

    // On a paced line each byte reaches the PC when its 10 bits have crossed.
    void send(const std::string& bytes) {
        if (!m_pace) {
            writeAll(bytes.data(), bytes.size());
            return;
        }
        const auto start = SteadyClock::now();
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::this_thread::sleep_until(start + m_byteTime * static_cast<long>(i + 1));
            writeAll(&bytes[i], 1);
        }
    }

    // When the bytes that receive() returned last came in.
    SteadyClock::time_point receivedAt() const { return m_receivedAt; }

    // Waits until the PC has read everything sent (a pseudo-terminal only).
    void drain(std::chrono::milliseconds most) {
        const auto until = SteadyClock::now() + most;
        while (isPty() && SteadyClock::now() < until) {
            int queued = 0;
            if (ioctl(m_slave, FIONREAD, &queued) != 0 || queued == 0)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void hangUp() {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_fd >= 0)
            ::close(m_fd);
        m_slave = m_fd = -1;
    }

private:
    [[noreturn]] static void Fail(const std::string& what) {
        std::fprintf(stderr, "galder-sim: %s: %s\n", what.c_str(), std::strerror(errno));
        std::exit(1);
    }

    void writeAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                Fail("write to " + m_path + " failed");
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    int m_fd = -1;
    int m_slave = -1;
    std::string m_path;
    bool m_pace;
    std::chrono::nanoseconds m_byteTime;
    SteadyClock::time_point m_receivedAt;
};

// The device's 37-byte answer to the identification command; its last byte
// is 'D' on a permanently disabled device.
std::string IdentificationAnswer(bool disabled) {
    std::string answer("\x88\x01GALDER SIM 2.04 ADDRESS BOOK    ", 34);
    answer.append("\x00\x01", 2);
    answer.push_back(disabled ? 'D' : 'E');
    return answer;
}

class Device {
public:
    Device(const Options& o, std::vector<SimContact> contacts, Line& line)
        : m_o(o), m_contacts(std::move(contacts)), m_line(line) {}

    // Plays sessions until one ends with --once or the line is hung up.
    int run() {
        for (;;) {
            const std::string bytes = m_line.receive(std::chrono::milliseconds(200));
            if (bytes.empty() || m_o.silent)
                continue;
            m_in += bytes;
            if (step())
                return 0;
        }
    }

private:
    enum class Phase { Asleep, Identify, Command, Sending };

    // Acts on what the PC sent; true when the simulator should exit.
    bool step() {
        for (;;) {
            // A wake-up byte starts a session whatever came before: the PC may
            // have given up on an earlier one.
            const auto wake = m_in.find(static_cast<char>(kWakeUp));
            if (wake != std::string::npos) {
                m_in.erase(0, wake + 1);
                m_phase = Phase::Identify;
                m_line.send(m_o.wrongWakeup ? "\x8B\x8B" : "\x8B");
                if (m_o.wrongWakeup && endSession())
                    return true;
                continue;
            }
            switch (m_phase) {
            case Phase::Asleep:
                m_in.clear();
                return false;
            case Phase::Identify: {
                const auto at = m_in.find(kIdentifyCommand);
                if (at == std::string::npos)
                    return false;
                m_in.erase(0, at + kIdentifyCommand.size());
                m_line.send(IdentificationAnswer(m_o.disabled));
                if (m_o.disabled) {
                    m_phase = Phase::Asleep;
                    if (endSession())
                        return true;
                    continue;
                }
                m_phase = Phase::Command;
                continue;
            }
            case Phase::Command: {
                const auto at = m_in.find(kDownloadCommand);
                if (at == std::string::npos)
                    return false;
                m_in.erase(0, at + kDownloadCommand.size());
                m_sessionStart = SteadyClock::now();
                m_latencies.clear();
                m_sent = 0;
                m_acked = 0;
                if (m_o.hangupAfter == 0)
                    return hangUp();
                std::string header;
                if (m_o.junk)
                    header.append("\x00\x12\x55", 3);
                header.push_back(static_cast<char>(kAck));
                header.push_back(static_cast<char>(m_o.layout));
                header.push_back(m_o.badHeader ? '\x01' : '\x00');
                header.push_back(static_cast<char>(m_contacts.size()));
                if (m_contacts.empty()) {
                    m_line.send(header);
                    m_phase = Phase::Asleep;
                    if (endSession())
                        return true;
                    continue;
                }
                m_phase = Phase::Sending;
                if (sendRecord(header))
                    return true;
                continue;
            }
            case Phase::Sending: {
                const auto at = m_in.find(static_cast<char>(kAck));
                if (at == std::string::npos)
                    return false;
                // The PC's reaction: from the record's last byte to the
                // first bit of its acknowledgement.
                m_latencies.push_back(m_line.receivedAt() - m_lastByte);
                m_in.erase(0, at + 1);
                ++m_acked;
                if (m_o.hangupAfter >= 0 && m_acked >= m_o.hangupAfter)
                    return hangUp();
                if (sendRecord({}))
                    return true;
                continue;
            }
            }
        }
    }

    // Sends the next record after `prefix`; true when the simulator should exit.
    bool sendRecord(std::string prefix) {
        const std::size_t index = m_sent;
        // Out of step: a stray byte ahead of the second record (or the only one).
        if (m_o.corrupt && (index == 1 || m_contacts.size() == 1))
            prefix.push_back('\x00');
        prefix.push_back(static_cast<char>(kRecordMarker));
        prefix += EncodeRecord(m_contacts[index], m_o.layout);
        m_line.send(prefix);
        m_lastByte = SteadyClock::now();
        ++m_sent;
        if (m_sent < m_contacts.size())
            return false;
        // The PC closes the port without acknowledging the last record.
        m_phase = Phase::Asleep;
        return endSession();
    }

    bool endSession() {
        if (m_o.stats)
            printStats();
        if (!m_o.once)
            return false;
        m_line.drain(std::chrono::seconds(30));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return true;
    }

    bool hangUp() {
        std::fprintf(stderr, "galder-sim: hanging up after %d records\n", m_acked);
        if (m_o.stats)
            printStats();
        m_line.drain(std::chrono::seconds(5));
        m_line.hangUp();
        return true;
    }

    void printStats() {
        std::vector<double> ms;
        for (const auto& d : m_latencies)
            ms.push_back(std::chrono::duration<double, std::milli>(d).count());
        std::sort(ms.begin(), ms.end());
        auto at = [&ms](double q) {
            if (ms.empty())
                return 0.0;
            const auto i =
                static_cast<std::size_t>(std::lround(q * static_cast<double>(ms.size() - 1)));
            return ms[std::min(i, ms.size() - 1)];
        };
        const double session =
            std::chrono::duration<double>(SteadyClock::now() - m_sessionStart).count();
        std::printf("records sent: %zu\n", m_sent);
        std::printf("acknowledgements: %zu\n", ms.size());
        std::printf("ack latency median ms: %.3f\n", at(0.5));
        std::printf("ack latency p99 ms: %.3f\n", at(0.99));
        std::printf("records phase s: %.3f\n", session);
        std::fflush(stdout);
    }

    const Options& m_o;
    std::vector<SimContact> m_contacts;
    Line& m_line;
    std::string m_in;
    Phase m_phase = Phase::Asleep;
    std::size_t m_sent = 0;
    int m_acked = 0;
    SteadyClock::time_point m_lastByte;
    SteadyClock::time_point m_sessionStart;
    std::vector<SteadyClock::duration> m_latencies;
};

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    std::vector<SimContact> contacts = LoadContacts(options);
    Line line(options);
    std::printf("%s\n", line.path().c_str());
    std::printf("Map it in addrix's settings file (addrix.INI):  [Ports]  COM1=%s\n",
                line.path().c_str());
    std::fflush(stdout);
    Device device(options, std::move(contacts), line);
    return device.run();
}

#include "support/TestSupport.h"

#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <random>

namespace addrix::test {

MsgAnswer FakeMessageBox::show(const std::string& caption, const std::string& text,
                               MsgButtons buttons, MsgIcon icon) {
    shown.push_back({caption, text, buttons, icon});
    if (!answers.empty()) {
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

void FailingSink::writeLine(const std::string& line) {
    if (lines.size() >= m_okLines)
        throw FileError(DescribeFileError(ENOSPC, "test sink"));
    lines.push_back(line);
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate =
            base / ("addrix-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::file(const std::string& name) const {
    return (std::filesystem::path(m_path) / name).string();
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find("\r\n", start);
        if (pos == std::string::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, pos - start));
        start = pos + 2;
    }
}

std::vector<std::string> SplitCommas(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto pos = line.find(',', start);
        fields.push_back(line.substr(start, pos == std::string::npos ? pos : pos - start));
        if (pos == std::string::npos)
            return fields;
        start = pos + 1;
    }
}

} // namespace addrix::test

#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <fstream>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <iterator>
#include <random>

namespace addrix::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::filesystem::path candidate;
    do
        candidate = std::filesystem::temp_directory_path() /
                    ("addrix-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    while (!std::filesystem::create_directory(candidate));
    m_path = candidate.string();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

#ifndef _WIN32
bool HoldsUnprivileged(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
#endif

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::ptrdiff_t EntryCount(const std::string& path) {
    return std::distance(std::filesystem::directory_iterator(path), {});
}

EnvLookup Env(std::map<std::string, std::string> variables) {
    return [variables](const std::string& name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

std::string IvroBackup(int entries) {
    std::string text = "#Record\tAddress\r\n";
    for (int n = 1; n <= entries; ++n)
        text += std::to_string(n) + "\t\t0\tP" + std::to_string(n) + std::string(20, '\t') + "\r\n";
    return text;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

} // namespace addrix::test

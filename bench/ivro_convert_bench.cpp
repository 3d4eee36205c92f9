// Converts generated Ivro backups through the `addrix` command line and sets
// the time beside an awk script doing a comparable mapping and beside `cat`
// of the same file, in the same run; then measures the converter's peak
// memory on a 1,000,000-entry backup, on one-line files of 1 GB and on
// /dev/zero. Exits with 0 when every goal is met.
//
//   ivro_convert_bench [--entries N,N,...] [--addrix PATH] [--big-mb N]
//                      [--zero-seconds S] [--rounds N] [--keep]

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr double kAwkFactor = 3.0; // the converter at least this much faster than awk
constexpr double kCatFactor = 4.0; // and at most this much slower than cat
constexpr double kMemoryLimitMb = 32.0;

// A comparable mapping without the phone, PIN and ZIP clean-ups.
const char* const kAwkScript =
    R"(BEGIN{FS="\t";OFS=","} seen&&NF>=24{n++; f=$4; gsub(/,/," ",f); l=$5; gsub(/,/," ",l);
print n, n-1, 0, substr(f,1,15), substr(l,1,18), $7, $9, $8, 1, ";", ";", ";", substr($15,1,18), "",
$12, $13, $14, substr($16,1,70), substr($17,1,20), substr($18,1,10), substr($19,1,10), substr($21,1,72)}
/^#Record/&&/Address/{seen=1})";

// One entry line: a name, e-mails, phones, company, street and a two-line
// note with a comma.
std::string MakeEntry(long i) {
    const std::string n = std::to_string(i);
    std::string f[24];
    f[0] = std::to_string(i % 30000);
    f[1] = "2016-09-02";
    f[2] = std::to_string(i % 200);
    f[3] = "First" + n;
    f[4] = "Last, " + n;
    f[6] = "555 01" + n;
    f[7] = "home" + n + "@example.com";
    f[8] = "work" + n + "@example.com";
    f[11] = "(555) 123." + n + " X12";
    f[12] = "+1 555 987 " + n;
    f[13] = "555-0000";
    f[14] = "Company " + n + ", Inc.";
    f[15] = n + " Long Street Name Avenue";
    f[16] = "Springfield";
    f[17] = "IL";
    f[18] = "62701-1234";
    f[20] = "Note " + n + ", first line\nsecond line";
    std::string line;
    for (int k = 0; k < 24; ++k) {
        if (k)
            line += '\t';
        line += f[k];
    }
    return line;
}

struct Run {
    double seconds = 0;
    int status = 0;
    double peakMb = 0;
};

// Runs `args` with standard output to `outPath`; stops it with SIGINT after
// `stopAfter` seconds when it has not ended by then (0: never).
Run Spawn(const std::vector<std::string>& args, const std::string& outPath, double stopAfter = 0) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(args[0].c_str());
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    rusage usage{};
    int status = 0;
    for (;;) {
        const pid_t done = wait4(pid, &status, stopAfter > 0 ? WNOHANG : 0, &usage);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR) {
            std::perror("wait4");
            std::exit(1);
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (stopAfter > 0 && elapsed >= stopAfter) {
            kill(pid, SIGINT);
            stopAfter = 0; // wait for it to end
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = status;
    run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

double FileMb(const std::string& path) {
    std::ifstream probe(path, std::ios::binary | std::ios::ate);
    return probe ? static_cast<double>(probe.tellg()) / 1e6 : 0.0;
}

std::string Describe(const Run& run) {
    if (WIFEXITED(run.status))
        return "exit " + std::to_string(WEXITSTATUS(run.status));
    if (WIFSIGNALED(run.status))
        return std::string("stopped by ") + (WTERMSIG(run.status) == SIGINT ? "SIGINT" : "signal");
    return "?";
}

struct Options {
    std::vector<long> entries = {300000, 1000000};
    std::string addrix = "addrix";
    long bigMb = 1024;
    double zeroSeconds = 5;
    int rounds = 3;
    bool keep = false;
};

class Bench {
public:
    Bench(Options options, std::string dir) : m_o(std::move(options)), m_dir(std::move(dir)) {}

    bool ok = true;

    std::vector<std::string> convert(const std::string& input) const {
        return {m_o.addrix, "export", "--source", "ivro",    "--input",       input,
                "--dir",    m_dir,    "--file",   "out.csv", "--max-records", "2000000000"};
    }

    // Converter, awk and cat on one generated backup, best of the rounds.
    void compare(long entries) {
        const std::string input = m_dir + "/backup.adr";
        {
            std::ofstream out(input, std::ios::binary);
            out << "Ivro Backup File\r\n#Record\tName\tAddress\r\n";
            for (long i = 0; i < entries; ++i)
                out << MakeEntry(i) << "\r\n";
        }
        Run best[3];
        for (int round = 0; round < m_o.rounds; ++round) {
            const Run runs[3] = {
                Spawn(convert(input), "/dev/null"),
                Spawn({"awk", kAwkScript, input}, m_dir + "/awk.csv"),
                Spawn({"cat", input}, m_dir + "/cat.out"),
            };
            for (int k = 0; k < 3; ++k) {
                if (!WIFEXITED(runs[k].status) || WEXITSTATUS(runs[k].status) != 0) {
                    std::cerr << (k == 0   ? "addrix"
                                  : k == 1 ? "awk"
                                           : "cat")
                              << " failed: " << Describe(runs[k]) << '\n';
                    std::exit(1);
                }
                if (round == 0 || runs[k].seconds < best[k].seconds)
                    best[k].seconds = runs[k].seconds;
                best[k].peakMb = std::max(best[k].peakMb, runs[k].peakMb);
            }
        }
        const double awkRatio = best[1].seconds / best[0].seconds;
        const double catRatio = best[0].seconds / best[2].seconds;
        std::printf("%ld entries, input %.1f MB, output %.1f MB, best of %d:\n", entries,
                    FileMb(input), FileMb(m_dir + "/out.csv"), m_o.rounds);
        std::printf("  addrix %.3f s   awk %.3f s   cat %.3f s\n", best[0].seconds, best[1].seconds,
                    best[2].seconds);
        std::printf("  awk / addrix   %.2f  (goal >= %.0f)\n", awkRatio, kAwkFactor);
        std::printf("  addrix / cat   %.2f  (goal <= %.0f)\n", catRatio, kCatFactor);
        std::printf("  addrix peak memory %.1f MB\n", best[0].peakMb);
        ok = ok && awkRatio >= kAwkFactor && catRatio <= kCatFactor;
        if (entries >= 1000000)
            ok = ok && best[0].peakMb < kMemoryLimitMb;
        if (!m_o.keep)
            for (const char* name : {"/backup.adr", "/out.csv", "/awk.csv", "/cat.out"})
                std::remove((m_dir + name).c_str());
    }

    // The converter on a file of about bigMb megabytes built by `write`.
    template <typename Write> void oneLine(const char* what, Write write) {
        const std::string input = m_dir + "/line.adr";
        {
            std::ofstream out(input, std::ios::binary);
            write(out, static_cast<double>(m_o.bigMb) * 1e6);
        }
        const Run run = Spawn(convert(input), "/dev/null");
        std::printf("%s, %.1f MB: %.2f s, %s, peak memory %.1f MB\n", what, FileMb(input),
                    run.seconds, Describe(run).c_str(), run.peakMb);
        ok = ok && WIFEXITED(run.status) && run.peakMb < kMemoryLimitMb;
        if (!m_o.keep) {
            std::remove(input.c_str());
            std::remove((m_dir + "/out.csv").c_str());
        }
    }

    void zero() {
        const Run run = Spawn(convert("/dev/zero"), "/dev/null", m_o.zeroSeconds);
        std::printf("/dev/zero: %s after %.2f s, peak memory %.1f MB\n", Describe(run).c_str(),
                    run.seconds, run.peakMb);
        ok = ok && run.peakMb < kMemoryLimitMb;
        std::remove((m_dir + "/out.csv").c_str());
    }

private:
    Options m_o;
    std::string m_dir;
};

} // namespace

int main(int argc, char* argv[]) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--entries" && i + 1 < argc) {
            o.entries.clear();
            std::stringstream list(argv[++i]);
            for (std::string n; std::getline(list, n, ',');)
                o.entries.push_back(std::atol(n.c_str()));
        } else if (arg == "--addrix" && i + 1 < argc) {
            o.addrix = argv[++i];
        } else if (arg == "--big-mb" && i + 1 < argc) {
            o.bigMb = std::atol(argv[++i]);
        } else if (arg == "--zero-seconds" && i + 1 < argc) {
            o.zeroSeconds = std::atof(argv[++i]);
        } else if (arg == "--rounds" && i + 1 < argc) {
            o.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--keep") {
            o.keep = true;
        } else {
            std::cerr << "usage: ivro_convert_bench [--entries N,N,...] [--addrix PATH] "
                         "[--big-mb N] [--zero-seconds S] [--rounds N] [--keep]\n";
            return 64;
        }
    }

    char dirTemplate[] = "/tmp/addrix-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const bool keep = o.keep;
    const std::string dir = dirTemplate;
    const long bigMb = o.bigMb;
    Bench bench(o, dir);
    for (const long entries : o.entries)
        bench.compare(entries);
    if (bigMb > 0) {
        // Entries parted by lone LFs only: the whole file is the leading line.
        bench.oneLine("no CR at all", [](std::ofstream& out, double bytes) {
            out << "#Record\tName\tAddress";
            for (long i = 0; out.tellp() < bytes; ++i)
                out << '\n' << MakeEntry(i);
        });
        // One entry line after the header, its note a gigabyte long.
        bench.oneLine("one entry line", [](std::ofstream& out, double bytes) {
            out << "#Record\tName\tAddress\r\n1\t\t1\tAnn\tLee" << std::string(16, '\t');
            const std::string block(1 << 20, 'n');
            while (out.tellp() < bytes)
                out << block;
            out << "\t\t\t\r\n";
        });
    }
    if (o.zeroSeconds > 0)
        bench.zero();
    if (!keep)
        rmdir(dir.c_str());
    std::printf(bench.ok ? "all goals met\n" : "goals not met\n");
    return bench.ok ? 0 : 1;
}

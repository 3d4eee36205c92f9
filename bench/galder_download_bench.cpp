// Downloads a full Galder address book through the `addrix` command line from
// galder-sim sending at the real line rate, and reports how close the
// download comes to the line's own limit and how fast each record is
// acknowledged.
//
//   galder_download_bench [--records N] [--addrix PATH] [--sim PATH]
//
// Line-rate limit: every byte that crosses the line, both ways, at 10 bits a
// byte over 9600 bit/s, plus the one-second pause before the download
// command. Goal: the download takes at most 1.02 times that limit.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

pid_t Spawn(const std::vector<std::string>& args, int out, int err) {
    std::vector<std::string> all = args;
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    if (err >= 0)
        posix_spawn_file_actions_adddup2(&actions, err, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ReadAll(int fd) {
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<std::size_t>(n));
    return text;
}

// The value after "`key`: " in the simulator's report.
double Stat(const std::string& report, const std::string& key) {
    const auto at = report.find(key + ": ");
    return at == std::string::npos ? -1 : std::atof(report.c_str() + at + key.size() + 2);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::filesystem::path here = std::filesystem::absolute(argv[0]).parent_path();
    std::string addrix = (here / "addrix").string();
    std::string sim = (here / "galder-sim").string();
    int records = 250;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--records" && i + 1 < argc)
            records = std::atoi(argv[++i]);
        else if (arg == "--addrix" && i + 1 < argc)
            addrix = argv[++i];
        else if (arg == "--sim" && i + 1 < argc)
            sim = argv[++i];
        else {
            std::fprintf(
                stderr,
                "usage: galder_download_bench [--records N] [--addrix PATH] [--sim PATH]\n");
            return 64;
        }
    }
    if (records < 1 || records > 255) {
        std::fprintf(stderr, "galder_download_bench: --records takes 1 to 255\n");
        return 64;
    }

    // A copy of addrix in a folder of its own, whose settings map COM1.
    char pattern[] = "/tmp/galder-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = pattern;
    std::filesystem::copy_file(addrix, dir / "addrix");

    int simOut[2];
    if (pipe(simOut) != 0)
        return 1;
    const pid_t simPid = Spawn(
        {sim, "--count", std::to_string(records), "--pace", "--once", "--stats"}, simOut[1], -1);
    close(simOut[1]);
    if (simPid < 0) {
        std::fprintf(stderr, "galder_download_bench: cannot start %s\n", sim.c_str());
        return 1;
    }
    std::string first;
    char c;
    while (read(simOut[0], &c, 1) == 1 && c != '\n')
        first += c;
    std::ofstream(dir / "addrix.INI") << "[Ports]\r\nCOM1=" << first << "\r\n";

    const int devNull = open("/dev/null", O_WRONLY);
    const auto start = std::chrono::steady_clock::now();
    const pid_t run =
        Spawn({(dir / "addrix").string(), "export", "--source", "galder", "--port", "1", "--dir",
               dir.string(), "--file", "out.csv", "--max-records", std::to_string(records)},
              devNull, devNull);
    const int status = run > 0 ? Wait(run) : -1;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string report = ReadAll(simOut[0]);
    Wait(simPid);
    close(devNull);

    // PC to device: wake-up, identification command, 0x19, download command,
    // one acknowledgement for every record but the last. Device to PC: its
    // answer, the identification, the header and the records.
    const long toDevice = 1 + 8 + 1 + 4 + (records - 1);
    const long toPc = 1 + 37 + 4 + 257L * records;
    const double limit = static_cast<double>(toDevice + toPc) * 10.0 / 9600.0 + 1.0;

    std::printf("records:                 %d\n", records);
    std::printf("addrix exit status:      %d\n", status);
    std::printf("bytes on the line:       %ld (%ld to the device, %ld to the PC)\n",
                toDevice + toPc, toDevice, toPc);
    std::printf("line-rate limit:         %.3f s\n", limit);
    std::printf("download took:           %.3f s\n", elapsed);
    std::printf("ratio to the limit:      %.4f (goal <= 1.02)\n", elapsed / limit);
    std::printf("ack latency median:      %.3f ms\n", Stat(report, "ack latency median ms"));
    std::printf("ack latency 99th pct:    %.3f ms\n", Stat(report, "ack latency p99 ms"));
    std::filesystem::remove_all(dir);
    return status == 0 && elapsed / limit <= 1.02 ? 0 : 1;
}

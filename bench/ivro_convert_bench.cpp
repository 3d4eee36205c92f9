// Converts a generated Ivro backup through the `addrix` command line and
// reports throughput and the converter's peak memory.
//
//   ivro_convert_bench [--entries N] [--addrix PATH] [--keep]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

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
    f[15] = n + " Long Street Name Avenue, Building 7";
    f[16] = "Springfield";
    f[17] = "IL";
    f[18] = "62701-1234";
    f[20] = "A note for entry " + n + "\nwith a second line";
    std::string line;
    for (int k = 0; k < 24; ++k) {
        if (k)
            line += '\t';
        line += f[k];
    }
    return line;
}

} // namespace

int main(int argc, char* argv[]) {
    long entries = 1000000;
    std::string addrix = "addrix";
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--entries" && i + 1 < argc)
            entries = std::atol(argv[++i]);
        else if (arg == "--addrix" && i + 1 < argc)
            addrix = argv[++i];
        else if (arg == "--keep")
            keep = true;
        else {
            std::cerr << "usage: ivro_convert_bench [--entries N] [--addrix PATH] [--keep]\n";
            return 64;
        }
    }

    char dirTemplate[] = "/tmp/addrix-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = dirTemplate;
    const std::string input = dir + "/backup.adr";
    {
        std::ofstream out(input, std::ios::binary);
        out << "Ivro Backup File\r\n#Record\tName\tAddress\r\n";
        for (long i = 0; i < entries; ++i)
            out << MakeEntry(i) << "\r\n";
    }
    std::ifstream sizeProbe(input, std::ios::binary | std::ios::ate);
    const double inputBytes = static_cast<double>(sizeProbe.tellg());

    const std::string limit = std::to_string(entries + 1);
    std::vector<std::string> args = {addrix,    "export",  "--source",      "ivro",
                                     "--input", input,     "--dir",         dir,
                                     "--file",  "out.csv", "--max-records", limit};
    std::vector<char*> argv2;
    for (auto& a : args)
        argv2.push_back(a.data());
    argv2.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, addrix.c_str(), &actions, nullptr, argv2.data(), environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);

    std::ifstream outProbe(dir + "/out.csv", std::ios::binary | std::ios::ate);
    const double outputBytes = static_cast<double>(outProbe.tellg());
    if (!keep) {
        std::remove((dir + "/out.csv").c_str());
        std::remove(input.c_str());
        rmdir(dir.c_str());
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "addrix failed with status " << status << '\n';
        return 1;
    }
    std::printf("entries:        %ld\n", entries);
    std::printf("input:          %.1f MB\n", inputBytes / 1e6);
    std::printf("output:         %.1f MB\n", outputBytes / 1e6);
    std::printf("time:           %.3f s\n", seconds);
    std::printf("throughput:     %.1f MB/s (input)\n", inputBytes / 1e6 / seconds);
    std::printf("entries/s:      %.0f\n", static_cast<double>(entries) / seconds);
    std::printf("peak memory:    %.1f MB (converter's maximum resident set)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

#include "cli_run.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "private_network.h"

extern char** environ;

namespace {

std::string g_cli;

std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CliRun runCli(const std::vector<std::string>& arguments) {
    char folder[] = "/tmp/cli_run.XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string out = std::string(folder) + "/out", err = std::string(folder) + "/err";
    std::vector<char*> argv{g_cli.data()};
    std::vector<std::string> copies = arguments;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, g_cli.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    CliRun run;
    int status = 0;
    rusage usage{};
    if (spawned == 0 && wait4(pid, &status, 0, &usage) == pid) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakKilobytes = usage.ru_maxrss;
    }
    run.out = contents(out);
    run.err = contents(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(folder);
    return run;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OSTREL_CLI\n", argv[0]);
        return 2;
    }
    g_cli = argv[1];
    std::string why;
    if (!testnet::enterOneSegment(why)) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}

// How long zelk_set_deviceinfo_multi takes per free and per occupied address
// it probes, on the virtual LAN of ostrel-lab (real hosts that answer echo
// requests at 192.168.1.100 to .107). Started outside the LAN it runs itself
// again inside one. Prints medians of several runs.
//   assign_bench_walk [--mode auto|root|user]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "parse_packet.h"
#include "reply_builder.h"
#include "scan_document.h"
#include "text.h"
#include "trace.h"
#include "zelk.h"

namespace {

constexpr int RUNS = 5;
constexpr int OCCUPIED = 8;  // 192.168.1.100 and up
constexpr int CAMERAS = 2;

int g_inUse = 0;  // addresses the walks found in use

int runInsideLab(const char* mode) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::vector<std::string> args{OSTREL_LAB, "--mode", mode};
    for (int i = 0; i < OCCUPIED; ++i) {
        args.push_back("--host");
        args.push_back("192.168.1." + std::to_string(100 + i));
    }
    args.insert(args.end(), {"--", self});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    std::perror(OSTREL_LAB);
    return 2;
}

// A search that found CAMERAS cameras, fed to the parser.
void fillDeviceTable() {
    for (int n = 0; n < CAMERAS; ++n) {
        ReplyCamera c;
        c.id[5] = static_cast<uint8_t>(n);
        const std::vector<uint8_t> reply = ReplyBuilder().camera(c).bytes();
        zelk::_parsePacket(reply.data(), static_cast<int>(reply.size()));
    }
    std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    std::vector<char> text(ZELK_SCAN_TEXT_SIZE);
    int count = 0;
    int length = static_cast<int>(text.size());
    zelk::_generatePacketInfo(&count, devices.data(), &length, text.data());
}

// Milliseconds of one multi-set request over first..last, the probe's report silenced.
double assign(const char* first, const char* last, int cameraCount) {
    DeviceInfo bounds[2] = {};
    zelk::setField(bounds[0].ipAddress, first);
    zelk::setField(bounds[0].subnetMask, "255.255.255.0");
    zelk::setField(bounds[0].gateway, "192.168.1.1");
    zelk::setField(bounds[1].ipAddress, last);
    const int indices[CAMERAS] = {0, 1};
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    const auto start = std::chrono::steady_clock::now();
    const int result = zelk_set_deviceinfo_multi(bounds, nullptr, cameraCount, indices, "");
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(null);
    if (result != ZELK_OK) {
        std::fprintf(stderr, "zelk_set_deviceinfo_multi returned %d\n", result);
        std::exit(1);
    }
    return took.count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("OSTREL_LAB_WORKSTATION") == nullptr)
        return runInsideLab(argc == 3 && std::string(argv[1]) == "--mode" ? argv[2] : "auto");

    zelk::setTraceSink([](std::string_view line) {
        if (line == "[_ping into MultiConfigureDevice] Exist ip address\n") ++g_inUse;
    });
    fillDeviceTable();
    std::vector<double> free;
    std::vector<double> occupied;
    for (int run = 0; run < RUNS; ++run) {
        // Both cameras and the address that ends the walk: three free addresses.
        free.push_back(assign("192.168.1.150", "192.168.1.200", CAMERAS) / (CAMERAS + 1));
        // The occupied addresses, then the free one that ends the walk.
        occupied.push_back(assign("192.168.1.100", "192.168.1.200", 0));
    }
    if (g_inUse != RUNS * OCCUPIED) {
        std::fprintf(stderr, "the walks met %d addresses in use, not %d\n", g_inUse, RUNS * OCCUPIED);
        return 1;
    }
    const double perFree = median(free);
    const double perOccupied = (median(occupied) - perFree) / OCCUPIED;
    std::printf("mode %s, medians of %d runs: %.1f ms per free address, %.2f ms per occupied address\n",
                std::getenv("OSTREL_LAB_MODE"), RUNS, perFree, perOccupied);
    return 0;
}

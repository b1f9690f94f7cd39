// How long zelk_set_deviceinfo_multi's address walk takes on the virtual LAN
// of ostrel-lab, where real hosts answer echo requests at 192.168.1.100 to
// .119: 4 cameras over a range whose first 20 addresses are taken, and 16
// cameras over a range with none taken. Started outside the LAN it runs
// itself again inside one. Prints the median of several runs of each.
//   assign_bench_walk [--mode auto|root|user] [--runs N]
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

constexpr int TAKEN = 20;  // 192.168.1.100 and up
constexpr int MOST_CAMERAS = 16;

int g_inUse = 0;  // addresses the walks found in use

int runInsideLab(const std::string& mode, int argc, char** argv) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::vector<std::string> args{OSTREL_LAB, "--mode", mode};
    for (int i = 0; i < TAKEN; ++i) {
        args.push_back("--host");
        args.push_back("192.168.1." + std::to_string(100 + i));
    }
    args.insert(args.end(), {"--", self});
    args.insert(args.end(), argv + 1, argv + argc);
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    ::execv(raw[0], raw.data());
    std::perror(OSTREL_LAB);
    return 2;
}

// A search that found MOST_CAMERAS cameras, fed to the parser.
void fillDeviceTable() {
    for (int n = 0; n < MOST_CAMERAS; ++n) {
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
    std::vector<int> indices(MOST_CAMERAS);
    for (int i = 0; i < MOST_CAMERAS; ++i) indices[static_cast<size_t>(i)] = i;
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    const auto start = std::chrono::steady_clock::now();
    const int result = zelk_set_deviceinfo_multi(bounds, nullptr, cameraCount, indices.data(), "");
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
    std::string mode = "auto";
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--mode") mode = argv[i + 1];
        if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    }
    if (std::getenv("OSTREL_LAB_WORKSTATION") == nullptr) return runInsideLab(mode, argc, argv);

    zelk::setTraceSink([](std::string_view line) {
        if (line == "[_ping into MultiConfigureDevice] Exist ip address\n") ++g_inUse;
    });
    fillDeviceTable();
    std::vector<double> busy;
    std::vector<double> open;
    for (int run = 0; run < runs; ++run) {
        busy.push_back(assign("192.168.1.100", "192.168.1.200", 4));
        open.push_back(assign("192.168.1.130", "192.168.1.250", MOST_CAMERAS));
    }
    if (g_inUse != runs * TAKEN) {
        std::fprintf(stderr, "the walks met %d addresses in use, not %d\n", g_inUse, runs * TAKEN);
        return 1;
    }
    std::printf("mode %s, medians of %d runs: 4 cameras, first %d addresses taken: %.0f ms; "
                "%d cameras, none taken: %.0f ms\n",
                std::getenv("OSTREL_LAB_MODE"), runs, TAKEN, median(busy), MOST_CAMERAS, median(open));
    return 0;
}

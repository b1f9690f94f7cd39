// Time _generatePacketInfo takes to turn a table of cameras into the records
// and the scan document. Trace lines are collected in memory, as a test
// seam would, so that the terminal's speed does not enter the figure.
#include <benchmark/benchmark.h>

#include <vector>

#include "device_table.h"
#include "parse_packet.h"
#include "reply_builder.h"
#include "scan_document.h"
#include "trace.h"

namespace {

std::vector<zelk::DeviceRecord> tableOf(int cameras) {
    zelk::g_deviceTable.count = 0;
    for (int n = 0; n < cameras; ++n) {
        ReplyCamera c;
        c.id[4] = static_cast<uint8_t>(n >> 8);
        c.id[5] = static_cast<uint8_t>(n);
        c.ip = {10, 0, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
        c.rtsp1 = "rtsp://10.0.0.1:554/stream1";
        c.web = "http://10.0.0.1";
        const auto bytes = ReplyBuilder().camera(c).bytes();
        zelk::_parsePacket(bytes.data(), static_cast<int>(bytes.size()));
    }
    return {zelk::g_deviceTable.records, zelk::g_deviceTable.records + cameras};
}

void GeneratePacketInfo(benchmark::State& state) {
    const int cameras = static_cast<int>(state.range(0));
    long traceLines = 0;
    zelk::setTraceSink([&](std::string_view) { ++traceLines; });
    const auto records = tableOf(cameras);
    std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    std::vector<char> text(ZELK_SCAN_TEXT_SIZE);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(records.begin(), records.end(), zelk::g_deviceTable.records);
        zelk::g_deviceTable.count = cameras;
        state.ResumeTiming();
        int count = 0;
        int length = static_cast<int>(text.size());
        zelk::_generatePacketInfo(&count, devices.data(), &length, text.data());
        benchmark::DoNotOptimize(length);
    }
    zelk::setTraceSink({});
    state.counters["trace_lines_per_run"] = static_cast<double>(traceLines) / static_cast<double>(state.iterations());
}

BENCHMARK(GeneratePacketInfo)->Arg(16)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The simulator's request parser on arbitrary datagrams: what it reports
// must follow from the header, and a change may only reach a camera the
// request names by its id.
#include <json/json.h>

#include <cstring>
#include <string>
#include <vector>

#include "camera.h"
#include "fuzz_input.h"
#include "packet.h"
#include "requests.h"

namespace {

constexpr int MULTI_HEAD = 32;
constexpr int MULTI_ENTRY = 400;
constexpr int MULTI_TAIL = 28;

std::vector<camsim::Camera> cameras() {
    std::vector<camsim::Camera> all;
    for (const char* mac : {"02-00-00-00-00-01", "02-00-00-00-00-02"}) {
        Json::Value j;
        j["mac"] = mac;
        j["ip"] = "192.168.1.30";
        j["mask"] = "255.255.255.0";
        j["name"] = "cam";
        j["userId"] = "admin";
        j["password"] = "secret";
        j["factory"]["name"] = "Factory";
        all.push_back(camsim::cameraFromJson(j));
    }
    return all;
}

bool namedIn(const camsim::Camera& camera, const uint8_t* id) { return std::memcmp(camera.id.data(), id, 8) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<camsim::Camera> known = cameras();
    const int length = static_cast<int>(size);
    const camsim::RequestOutcome out = camsim::handleRequest(known, data, length);

    for (const camsim::Change& change : out.changes) FUZZ_CHECK(change.camera < known.size());
    const bool framed = length >= zelk::IDCP_HEADER_SIZE && zelk::decodeHeader(data).marker == zelk::IDCP_MARK;
    if (!framed) {
        FUZZ_CHECK(out.kind == camsim::RequestKind::Other && out.changes.empty() && out.log.empty());
        return 0;
    }
    const zelk::IdcpHeader header = zelk::decodeHeader(data);
    switch (header.command) {
    case zelk::CMD_PROBE:
        FUZZ_CHECK(out.kind == camsim::RequestKind::Probe && out.changes.empty());
        break;
    case zelk::CMD_SET:
        FUZZ_CHECK(out.log.size() == 1 && out.changes.size() <= 1);
        for (const camsim::Change& change : out.changes) {
            FUZZ_CHECK(out.kind == camsim::RequestKind::SetDeviceInfo ||
                       out.kind == camsim::RequestKind::FactoryDefault);
            FUZZ_CHECK(namedIn(known[change.camera], header.target.data()));
            if (out.kind == camsim::RequestKind::FactoryDefault) {
                FUZZ_CHECK(change.settings.name == known[change.camera].factory.name);
            } else {
                FUZZ_CHECK(change.settings.name.find('\0') == std::string::npos);
                FUZZ_CHECK(change.settings.password == known[change.camera].now.password);
            }
        }
        break;
    case zelk::CMD_MULTI_SET: {
        FUZZ_CHECK(out.kind == camsim::RequestKind::MultiSet && !out.log.empty());
        const int entries = length < MULTI_HEAD + MULTI_TAIL ? 0 : (length - MULTI_HEAD - MULTI_TAIL) / MULTI_ENTRY;
        FUZZ_CHECK(out.changes.size() <= static_cast<size_t>(entries));
        for (const camsim::Change& change : out.changes) FUZZ_CHECK(!change.settings.dhcp);
        break;
    }
    default:
        FUZZ_CHECK(out.kind == camsim::RequestKind::Other && out.changes.empty());
    }
    return 0;
}

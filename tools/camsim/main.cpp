// ostrel-camsim: simulated IP cameras for Ostrel's tests and demos. Run it
// only inside a private network namespace (see ostrel-lab).
#include <CLI/CLI.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "camera.h"
#include "packet.h"
#include "requests.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string profile;
    int camera = -1;  // every camera of the profile
    std::string interface;
    std::string manageAddress;
    double restartDelay = 3.0;
    bool replyToSender = false;
    std::string log;
    std::string fault;
    int faultDelayMs = 0;
    int faultCamera = -1;
    bool list = false;
};

const char* const FAULTS[] = {"twice", "late", "short", "bad-marker", "overrun", "oversize", "ignore-requests"};

// Registers the options on `app`; the fault "late:MS" is split into its name and delay.
void addOptions(CLI::App& app, Options& o) {
    app.add_option("--profile", o.profile, "the cameras: a JSON profile")->required()->type_name("FILE");
    app.add_option("--camera", o.camera, "simulate only this camera of the profile (from 0)")
        ->check(CLI::NonNegativeNumber.description(""))
        ->type_name("N");
    app.add_option("--interface", o.interface, "listen on this interface only")->type_name("IF");
    app.add_option("--manage-address", o.manageAddress, "move this interface's address as the camera's changes")
        ->type_name("IF");
    app.add_option("--restart-delay", o.restartDelay, "seconds a camera restarts after a request")
        ->check(CLI::NonNegativeNumber.description(""))
        ->type_name("SECONDS");
    app.add_flag("--reply-to-sender", o.replyToSender, "answer the probe to its sender instead of broadcasting");
    app.add_option("--log", o.log, "append what the cameras do to FILE (default: standard output)")->type_name("FILE");
    app.add_option("--fault", o.fault,
                   "misbehave: twice, late:MS, short, bad-marker, overrun, oversize, or ignore-requests")
        ->type_name("FAULT")
        ->check(CLI::Validator(
            [](std::string& fault) {
                const std::string name = fault.substr(0, fault.find(':'));
                const bool late = fault.rfind("late:", 0) == 0;
                if (late && fault.find_first_not_of("0123456789", 5) == std::string::npos && fault.size() > 5)
                    return std::string();
                if (!late && std::find(std::begin(FAULTS), std::end(FAULTS), fault) != std::end(FAULTS))
                    return std::string();
                return "unknown fault " + fault;
            },
            "", "fault"));
    app.add_option("--fault-camera", o.faultCamera, "only this camera misbehaves (from 0; default: every camera)")
        ->check(CLI::NonNegativeNumber.description(""))
        ->type_name("N");
    app.add_flag("--list", o.list, "print the profile's cameras and exit");
    app.final_callback([&o] {
        if (o.fault.rfind("late:", 0) == 0) {
            o.faultDelayMs = std::stoi(o.fault.substr(5));
            o.fault = "late";
        }
    });
}

class Log {
public:
    explicit Log(const std::string& path) : file_(path.empty() ? stdout : std::fopen(path.c_str(), "a")) {
        if (file_ == nullptr) throw std::runtime_error("cannot open log " + path);
    }
    void line(const std::string& text) {
        std::fprintf(file_, "%s\n", text.c_str());
        std::fflush(file_);
    }

private:
    FILE* file_;
};

// The reply a faulty camera sends instead of its good one.
std::vector<uint8_t> spoil(std::vector<uint8_t> reply, const std::string& fault) {
    if (fault == "short") reply.resize(20);
    if (fault == "bad-marker") reply[0] = 'X';
    if (fault == "overrun") reply.resize(reply.size() - 5);
    if (fault == "oversize") {
        zelk::PacketWriter extra;
        std::string filler(1100, 'x');
        extra.item(0x0200, filler.data(), static_cast<uint16_t>(filler.size()));
        reply.insert(reply.end(), extra.bytes().begin(), extra.bytes().end());
        zelk::writeU32(reply.data() + 24, zelk::readU32(reply.data() + 24) + 1);
    }
    return reply;
}

struct Outgoing {
    Clock::time_point at;
    std::vector<uint8_t> datagram;
    sockaddr_in to;
};

struct Pending {
    Clock::time_point at;
    camsim::Change change;
};

class Simulator {
public:
    Simulator(Options options, std::vector<camsim::Camera> cameras)
        : o_(std::move(options)), cameras_(std::move(cameras)), busyUntil_(cameras_.size()), log_(o_.log) {}

    void run() {
        openSocket();
        log_.line("ready: " + std::to_string(cameras_.size()) + " cameras");
        uint8_t buffer[4096];
        for (;;) {
            pollfd fd{sock_, POLLIN, 0};
            ::poll(&fd, 1, nextTimeoutMs());
            flushDue();
            if ((fd.revents & POLLIN) == 0) continue;
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            ssize_t n = ::recvfrom(sock_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n > 0) handle(buffer, static_cast<int>(n), from);
        }
    }

private:
    void openSocket() {
        sock_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        int on = 1;
        setsockopt(sock_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        setsockopt(sock_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        if (!o_.interface.empty() &&
            setsockopt(sock_, SOL_SOCKET, SO_BINDTODEVICE, o_.interface.c_str(),
                       static_cast<socklen_t>(o_.interface.size())) != 0)
            throw std::runtime_error("cannot bind to interface " + o_.interface);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(zelk::IDCP_PORT);
        if (::bind(sock_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
            throw std::runtime_error("cannot bind port 50444");
    }

    int nextTimeoutMs() const {
        Clock::time_point next = Clock::now() + std::chrono::seconds(1);
        for (const auto& o : outgoing_) next = std::min(next, o.at);
        for (const auto& p : pending_) next = std::min(next, p.at);
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        return static_cast<int>(std::max<long long>(0, ms));
    }

    void flushDue() {
        const auto now = Clock::now();
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (it->at > now) {
                ++it;
                continue;
            }
            apply(it->change);
            it = pending_.erase(it);
        }
        for (auto it = outgoing_.begin(); it != outgoing_.end();) {
            if (it->at > now) {
                ++it;
                continue;
            }
            ::sendto(sock_, it->datagram.data(), it->datagram.size(), 0, reinterpret_cast<sockaddr*>(&it->to),
                     sizeof it->to);
            it = outgoing_.erase(it);
        }
    }

    void apply(const camsim::Change& change) {
        camsim::Camera& camera = cameras_[change.camera];
        const camsim::Address oldIp = camera.now.ip;
        camera.now = change.settings;
        log_.line("restarted " + camsim::macText(camera.id) + " as " + camsim::addressText(camera.now.ip));
        if (!o_.manageAddress.empty() && oldIp != camera.now.ip) {
            const std::string command = "ip addr flush dev " + o_.manageAddress + " && ip addr add " +
                                        camsim::addressText(camera.now.ip) + "/" +
                                        std::to_string(camsim::prefixLength(camera.now.mask)) + " dev " +
                                        o_.manageAddress;
            if (std::system(command.c_str()) != 0) log_.line("could not move the interface address");
        }
    }

    void handle(const uint8_t* data, int length, const sockaddr_in& from) {
        const camsim::RequestOutcome outcome = camsim::handleRequest(cameras_, data, length);
        const std::string sender = inet_ntoa(from.sin_addr);
        if (outcome.kind == camsim::RequestKind::Probe) {
            log_.line("probe from " + sender);
            answerProbe(from);
            return;
        }
        for (const std::string& line : outcome.log) log_.line(line + " (from " + sender + ")");
        const auto at = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(o_.restartDelay));
        for (const camsim::Change& change : outcome.changes) {
            if (faulty(change.camera) && o_.fault == "ignore-requests") {
                log_.line("ignored the request to " + camsim::macText(cameras_[change.camera].id));
                continue;
            }
            busyUntil_[change.camera] = at;
            pending_.push_back({at, change});
        }
    }

    void answerProbe(const sockaddr_in& from) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(zelk::IDCP_PORT);
        to.sin_addr.s_addr = o_.replyToSender ? from.sin_addr.s_addr : htonl(INADDR_BROADCAST);
        const auto now = Clock::now();
        for (size_t i = 0; i < cameras_.size(); ++i) {
            if (busyUntil_[i] > now) continue;  // restarting: deaf to probes
            std::vector<uint8_t> reply = camsim::searchReply(cameras_[i]);
            if (faulty(i)) reply = spoil(reply, o_.fault);
            const auto delay = std::chrono::milliseconds(faulty(i) && o_.fault == "late" ? o_.faultDelayMs : 0);
            const int copies = faulty(i) && o_.fault == "twice" ? 2 : 1;
            for (int c = 0; c < copies; ++c) outgoing_.push_back({now + delay, reply, to});
        }
        flushDue();
    }

    bool faulty(size_t camera) const {
        return !o_.fault.empty() && (o_.faultCamera < 0 || o_.faultCamera == static_cast<int>(camera));
    }

    Options o_;
    std::vector<camsim::Camera> cameras_;
    std::vector<Clock::time_point> busyUntil_;
    std::vector<Outgoing> outgoing_;
    std::vector<Pending> pending_;
    Log log_;
    int sock_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    CLI::App app{"Simulated IP cameras for Ostrel's tests and demos; run it only inside a private network namespace."};
    app.name("ostrel-camsim");
    addOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;  // help asked for, or a usage error
    }
    try {
        std::vector<camsim::Camera> cameras = camsim::loadProfile(options.profile);
        if (options.list) {
            for (size_t i = 0; i < cameras.size(); ++i) {
                const camsim::Camera& c = cameras[i];
                std::printf("%zu %s %s %d\n", i, camsim::macText(c.id).c_str(), camsim::addressText(c.now.ip).c_str(),
                            camsim::prefixLength(c.now.mask));
            }
            return 0;
        }
        if (options.camera >= 0) {
            if (options.camera >= static_cast<int>(cameras.size())) throw std::runtime_error("no such camera");
            cameras = {cameras[static_cast<size_t>(options.camera)]};
            if (options.faultCamera == options.camera) options.faultCamera = 0;
            else if (options.faultCamera >= 0) options.fault.clear();
        }
        Simulator(options, cameras).run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostrel-camsim: %s\n", e.what());
        return 1;
    }
}

// Hostile senders for a search, each meant to answer next to the well-formed
// cameras within one receive window: truncated and overrunning replies, odd
// item counts and sizes, unterminated and strange texts, other commands, an
// impostor, a full table's worth of cameras and a burst. The library's, the
// command-line tool's and the window's tests all search against them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <json/json.h>

#include "reply_builder.h"

namespace hostile {

using Datagram = std::vector<uint8_t>;

// A camera of its own: MAC 02-42-00-00-hi-lo, address 192.168.1.(n % 200 + 20).
ReplyCamera cameraNumber(int n, const std::string& name);
Datagram replyOf(const ReplyCamera& c);

// The three cameras that answer well-formed, first, in every case.
std::vector<ReplyCamera> wellFormed();

// What a listed camera must show: its record keeps the camera's bytes (cut
// to the field), the document its texts decoded as camera text.
struct Listed {
    ReplyCamera camera;
    std::string shownVersion;
};
Listed listed(const ReplyCamera& c);

// One hostile sender's datagrams and the cameras among them that must be listed.
struct Sender {
    std::vector<Datagram> datagrams;
    std::vector<Listed> alsoListed;
    std::string heard = {};  // a trace line that shows the hostile datagrams arrived
};

// Every camera that must be listed when `sender` answers: the well-formed ones, then its own.
std::vector<Listed> mustBeListed(const Sender& sender);
// The well-formed cameras' replies first, then the sender's, as one host sends them.
std::vector<Datagram> afterTheWellFormed(const std::vector<Datagram>& hostile);

struct Case {
    const char* what;
    Sender (*make)();
};
// The malformed and strange senders: each leaves exactly mustBeListed() listed.
const std::vector<Case>& malformedAndStrange();

// 2,000 distinct cameras: more than a search can list.
std::vector<Datagram> twoThousandCameras();
// 50,000 distinct cameras of 56 bytes each, back to back.
std::vector<Datagram> burstOfFiftyThousand();

// Checks a camera's entry of a scan document ("oDATA_n") field by field.
void expectShownAs(const Json::Value& entry, const Listed& expected);
// The entry of `document` with the camera's IP and MAC address, or null.
const Json::Value* entryOf(const Json::Value& document, const ReplyCamera& camera);

std::string addressText(const std::array<uint8_t, 4>& a);
std::string macText(const std::array<uint8_t, 8>& id);

}  // namespace hostile

// Public interface of the discovery library: camera search and configuration
// over the UDP protocol on port 50444.
#pragma once

// The most cameras one search lists. A caller's `devices` array must hold
// this many records.
inline constexpr int ZELK_MAX_DEVICES = 500;

// A scan-text buffer of this many bytes holds the document of
// ZELK_MAX_DEVICES cameras even when every field is full and every byte of
// every text is written as a six-byte escape (a camera's document then
// takes about 10,400 bytes). With a smaller buffer a search lists the cameras
// that fit, in the order they answered, and says it dropped the others
// (zelk_last_search_dropped); it fails with ZELK_ERR_TEXT_TOO_LONG only
// when not even the document of no camera fits.
inline constexpr int ZELK_SCAN_TEXT_SIZE = 11 * 1024 * ZELK_MAX_DEVICES;

// One camera as the caller sees it: fixed-width 8-bit text fields.
struct DeviceInfo {
    char deviceName[60];
    char ipAddress[255];
    char gateway[255];
    char subnetMask[255];
    char macAddress[255];
    char modelName[255];
    char firmwareVersion[255];
    char userId[255];
    char password[255];
    char rtspUrl1[255];
    char rtspUrl2[255];
    char rtspUrl3[255];
    char webUrl[255];
    char dhcp[2];
};
static_assert(sizeof(DeviceInfo) == 3122, "DeviceInfo layout is fixed");

// Error codes: 0 is success, every failure is negative.
enum ZelkError : int {
    ZELK_OK = 0,
    ZELK_ERR_SOCKET = -20101,          // socket not prepared, or none open
    ZELK_ERR_SOCKOPT = -20102,         // a socket option could not be set
    ZELK_ERR_BIND = -20103,            // the local address could not be bound
    ZELK_ERR_TEXT_TOO_LONG = -20104,   // the scan document does not fit the caller's buffer
    ZELK_ERR_SEND_PROBE = -20105,      // the probe was not sent
    ZELK_ERR_PACKET_SIZE = -20106,     // datagram shorter than the header
    ZELK_ERR_MARKER = -20107,          // datagram without the protocol marker
    ZELK_ERR_BAD_INDEX = -20108,       // index names no camera of the last search
    ZELK_ERR_BAD_ADDRESS = -20109,     // address text is not a dotted IPv4 address
    ZELK_ERR_NO_ICMP = -20110,         // no ICMP socket: addresses cannot be probed
    ZELK_ERR_MALFORMED = -20111,       // reply items run past the datagram or are too short
    ZELK_ERR_ADAPTER = -20112,         // the list of local adapters could not be read
    ZELK_ERR_SEND_SET = -20117,        // a set-device-info request was not sent
    ZELK_ERR_SEND_FACTORY = -20122,    // a factory-default request was not sent
};

// The library's UDP socket, -1 when none is open.
extern int m_sock;

// Searches the segment. `textLength` holds the capacity of `scanText` on
// entry and the document's length (without its zero) on success.
int zelk_search_device(int* deviceCount, DeviceInfo* devices, int* textLength,
                       char* scanText, const char* localAddress);

// 1 when the last completed search heard cameras it does not list (its
// table was full, or the scan-text buffer held fewer), else 0.
int zelk_last_search_dropped();

// Sends new name, addresses and DHCP choice to camera `index` of the last search.
int zelk_set_deviceinfo(int index, const DeviceInfo* devices, DeviceInfo settings,
                        char* scanText, const char* localAddress);

// Tells camera `index` of the last search to restore its factory settings.
int zelk_factory_default(int index, char* scanText, const DeviceInfo* devices,
                         const char* localAddress);

// Gives `cameraCount` cameras of the last search consecutive free addresses
// between bounds[0].ipAddress and bounds[1].ipAddress, with bounds[0]'s mask
// and gateway.
int zelk_set_deviceinfo_multi(const DeviceInfo* bounds, char* scanText, int cameraCount,
                              const int* indices, const char* localAddress);

// Closes the library's socket, if one is open.
void zelk_close();

// The workstation's description for the cameras: its first adapter's hardware address.
#pragma once

namespace zelk {

// Writes the sender text ("02:1a:2b:3c:4d:5e:00:00", 23 characters and a
// zero) into `senderText` (24 bytes). Returns 0, or -20112 leaving it untouched.
int _getNetworkInfo(char* senderText);

}  // namespace zelk

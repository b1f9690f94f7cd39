#include "broadcast_socket.h"
#include "trace.h"
#include "zelk.h"

void zelk_close() {
    zelk::closeLibrarySocket();
    // No socket service to release on this platform: the release always succeeds.
    zelk::debugTrace("[WSACleanup into zelk_close] Can close WS2_32.dll!!\n");
}

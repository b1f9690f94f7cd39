// The exchange of a search: the probe out, the replies of the receive window in.
#pragma once

namespace zelk {

// Broadcasts the probe on m_sock and stores the replies of the receive window.
int _discovery_device();

}  // namespace zelk

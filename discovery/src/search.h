// The exchange of a search: the probes out, the replies of the receive window in.
#pragma once

#include <chrono>
#include <functional>

#include "device_table.h"
#include "zelk.h"
#include "zelk_search.h"

namespace zelk {

struct ProbePlan {
    int probes = 1;
    std::chrono::milliseconds spacing{0};  // see SearchOptions
};

// Called for each reply stored, with its index in the table.
using ReplyStored = std::function<void(int index, const DeviceRecord& record, const ReplyAdapter& adapter)>;

// Broadcasts the probes on m_sock and stores the replies of the receive window.
int _discovery_device(const ProbePlan& plan, const ReplyStored& onStored);

// zelk_search_device with a probe plan and a call for each stored reply.
int searchDevices(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText, const char* localAddress,
                  const ProbePlan& plan, const ReplyStored& onStored);

// What the last search found out about the workstation's side.
SearchDiagnosis lastSearchDiagnosis();

}  // namespace zelk

// Why a search found no camera, as far as the library can tell.
#pragma once

#include <string>

#include "zelk_search.h"

namespace rules {

// The likeliest cause first: a gone or missing adapter also keeps the own
// probe from coming back, so the firewall is named only when both are fine.
// Empty when nothing points to a cause (the segment may hold no camera).
// `lan` is the local address searched from, empty for every adapter;
// `everyAdapter` says how the user searches from every adapter instead.
std::string emptySearchCause(const zelk::SearchDiagnosis& diagnosis, const std::string& lan,
                             const std::string& everyAdapter = "search without --lan");

}  // namespace rules
